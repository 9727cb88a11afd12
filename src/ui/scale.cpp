// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/scale.h"

#include "pressure/evaluation.h"
#include "pressure/formulas.h"
#include "ui/line.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>

namespace barovista {

Scale::Scale(QWidget *parent, const DisplayLocale &locale)
    : QGroupBox(QStringLiteral("Relativer Luftdruck"), parent), m_locale(locale)
{
    setObjectName(QStringLiteral("Frame2"));
    setGeometry(twipRect(7680, 120, 3615, 5295));
    setFocusPolicy(Qt::NoFocus);

    struct Tick
    {
        const char *name;
        float x1, x2, y;
    };
    // Long ticks at the centre and both ends, medium ones every 10 hPa, short
    // ones in between. The y values are the drawn ones, a few twips off the
    // exact 200-twip steps in places.
    static constexpr Tick ticks[] = {
        {"Line9", 1320, 2280, 738},   {"Line2", 1560, 2040, 938},   {"Line10", 1440, 2160, 1140},
        {"Line12", 1560, 2040, 1338}, {"Line13", 1440, 2160, 1545}, {"Line14", 1560, 2040, 1740},
        {"Line16", 1440, 2160, 1935}, {"Line17", 1560, 2040, 2138}, {"Line18", 1440, 2160, 2340},
        {"Line19", 1560, 2040, 2538}, {"Line11", 1320, 2280, 2738}, {"Line3", 1560, 2040, 2938},
        {"Line4", 1440, 2160, 3135},  {"Line5", 1560, 2040, 3338},  {"Line7", 1440, 2160, 3540},
        {"Line8", 1560, 2040, 3735},  {"Line15", 1440, 2160, 3945}, {"Line23", 1560, 2040, 4138},
        {"Line24", 1440, 2160, 4335}, {"Line25", 1560, 2040, 4538}, {"Line20", 1320, 2280, 4738},
    };
    auto *spine = new Line(this, 1800, 738, 1800, 4738);
    spine->setObjectName(QStringLiteral("Line1"));
    for (const Tick &tick : ticks)
        (new Line(this, tick.x1, tick.y, tick.x2, tick.y))->setObjectName(QLatin1String(tick.name));

    latte = new Line(this, 1320, scale::kHomeY, 2280, scale::kHomeY, kRed);
    latte->setObjectName(QStringLiteral("latte"));

    struct Caption
    {
        QLabel *Scale::*member;
        const char *name;
        const char *caption;
        int left, top, width;
        QColor colour;
    };
    const Caption captions[] = {
        {&Scale::Label8, "Label8", "1063,25 hPa", 2400, 620, 1095, kBlue},
        {&Scale::Label16, "Label16", "1053,25 hPa", 2400, 1020, 1095, kBlue},
        {&Scale::Label10, "Label10", "1043,25 hPa", 2400, 1430, 1095, kBlue},
        {&Scale::Label15, "Label15", "1033,25 hPa", 2400, 1820, 1095, kBlue},
        {&Scale::Label6, "Label6", "1023,25 hPa", 2400, 2220, 1095, kBlue},
        {&Scale::Label7, "Label7", "1013,25 hPa", 2400, 2630, 1095, Qt::black},
        {&Scale::range, "range", "out of range", 240, 2640, 945, kRed},
        {&Scale::Label13, "Label13", "1013,25 hPa", 240, 2745, 975, Qt::black},
        {&Scale::Label11, "Label11", "1003,25 hPa", 2400, 3010, 1095, kRed},
        {&Scale::Label14, "Label14", "+15,99 hPa", 240, 3120, 975, Qt::black},
        {&Scale::Label19, "Label19", "993,25 hPa", 2490, 3420, 855, kRed},
        {&Scale::Label18, "Label18", "983,25 hPa", 2490, 3825, 855, kRed},
        {&Scale::Label17, "Label17", "973,25 hPa", 2490, 4215, 855, kRed},
        {&Scale::Label9, "Label9", "963,25 hPa", 2490, 4620, 855, kRed},
    };
    for (const Caption &c : captions) {
        const bool indicatorLabel = c.member == &Scale::Label13 || c.member == &Scale::Label14;
        QLabel *label =
            makeLabel(this, c.name, QString::fromUtf8(c.caption), twipRect(c.left, c.top, c.width, 255),
                      arial(FontSize::Small), indicatorLabel ? Qt::AlignRight : Qt::AlignLeft);
        setColours(label, {{QPalette::WindowText, c.colour}});
        label->setMouseTracking(true);
        label->installEventFilter(this);
        this->*c.member = label;
        if (c.member == &Scale::Label13)
            m_label13Top = float(c.top);
        else if (c.member == &Scale::Label14)
            m_label14Top = float(c.top);
    }
    range->hide();
    setMouseTracking(true);
}

void Scale::setReading(const QString &text)
{
    m_reading = text;
}

void Scale::setDeviation(const QString &label, const QColor &colour)
{
    Label14->setText(label);
    fitCaption(Label14);
    setColours(Label14, {{QPalette::WindowText, colour}});
}

void Scale::setLabelTop(QLabel *label, float topTwips)
{
    (label == Label13 ? m_label13Top : m_label14Top) = topTwips;
    label->move(label->x(), px(topTwips));
}

void Scale::showIndicator(double offset, bool offScale)
{
    latte->setY1(scale::movedY(scale::kHomeY, offset));
    latte->setY2(scale::movedY(scale::kHomeY, offset));
    setLabelTop(Label13, latte->Y1() - scale::kLabel13Above);
    setLabelTop(Label14, m_label13Top + scale::kLabel14Below);
    Label13->setText(m_reading);
    fitCaption(Label13);
    latte->setVisible(!offScale);
    Label13->setVisible(!offScale);
    Label14->setVisible(!offScale);
    range->setVisible(offScale);
}

void Scale::hideIndicator()
{
    latte->hide();
    Label13->hide();
    Label14->hide();
    range->hide();
}

// Read anew on every request, so it always follows the screen.
QString Scale::description() const
{
    QString text = QStringLiteral("Skala von %1 hPa bis %2 hPa. ")
                       .arg(formatNumber(kStandardPressure - scale::kRangeLimit, m_locale),
                            formatNumber(kStandardPressure + scale::kRangeLimit, m_locale));
    if (!latte->isHidden())
        return text
               + QStringLiteral("Markierung bei %1, Abweichung %2.")
                     .arg(Label13->text().simplified(), Label14->text().simplified());
    if (!range->isHidden())
        return text + QStringLiteral("Der Wert %1 liegt außerhalb der Skala.").arg(m_reading.simplified());
    return text + QStringLiteral("Keine Markierung.");
}

// The frame itself keeps the mouse moves to itself: only the hover text
// changes.
bool Scale::event(QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        hover(this);
        event->accept();
        return true;
    }
    return QGroupBox::event(event);
}

bool Scale::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        // Captions without hover feedback keep the move to themselves, so
        // the frame beneath does not react either.
        hover(watched);
        return true;
    case QEvent::ToolTip:
        // A caption shows its own hover text or none: Qt would pass the
        // request on to the frame and show the frame's instead.
        if (static_cast<QWidget *>(watched)->toolTip().isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        break;
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}

// The frame and "out of range" answer with the frame's hover text, the
// captions of the long and medium ticks with their own.
void Scale::hover(QObject *watched)
{
    QWidget *target = nullptr;
    if (watched == this || watched == range)
        target = this;
    else if (watched == Label8 || watched == Label10 || watched == Label6 || watched == Label7
             || watched == Label11 || watched == Label9)
        target = static_cast<QWidget *>(watched);
    if (!target || m_reading.isEmpty())
        return;
    // The text may come from the history file: never let it be read as markup.
    target->setToolTip(Qt::mightBeRichText(m_reading)
                           ? QStringLiteral("<p style='white-space:pre'>") + m_reading.toHtmlEscaped()
                                 + QStringLiteral("</p>")
                           : m_reading);
}

} // namespace barovista
