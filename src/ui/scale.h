// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pressure/numbers.h"

#include <QGroupBox>

class QColor;
class QLabel;

namespace barovista {

class Line;

// The pressure scale, the frame Frame2 ("Relativer Luftdruck"): a spine with
// ticks from 963.25 to 1063.25 hPa and their captions, the red indicator
// latte with the sea-level pressure (Label13) and the deviation (Label14)
// beside it, and "out of range" for a deviation off the scale. The main
// window tells it the sea-level text and the deviation; the scale places the
// indicator, answers hovering with the sea-level text and tells a screen
// reader what it shows. Places are in twips; y grows downwards.
class Scale : public QGroupBox
{
    Q_OBJECT
public:
    Scale(QWidget *parent, const DisplayLocale &locale);

    // The sea-level text: Label13 shows it where the indicator is next placed,
    // the captions show it on hovering, and the description names it.
    void setReading(const QString &text);
    // The deviation's caption beside the indicator, in its colour.
    void setDeviation(const QString &label, const QColor &colour);
    // Places latte the offset (twips, up is positive) above its home line,
    // puts its two captions beside it, and shows "out of range" instead when
    // the deviation lies off the scale.
    void showIndicator(double offset, bool offScale);
    void hideIndicator();

    // What the scale shows, for a screen reader, with every number in the
    // display locale: the indicator with its value and deviation, the "out
    // of range" mark, or nothing.
    QString description() const;

    // Tops of the indicator captions in twips (single precision, as placed).
    float label13Top() const { return m_label13Top; }
    float label14Top() const { return m_label14Top; }

    // The parts of the scale, by their names.
    Line *latte = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label17 = nullptr;
    QLabel *Label18 = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *range = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLabelTop(QLabel *label, float topTwips);
    void hover(QObject *watched);

    DisplayLocale m_locale;
    QString m_reading;
    float m_label13Top = 0;
    float m_label14Top = 0;
};

} // namespace barovista
