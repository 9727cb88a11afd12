// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout: every control built from its place in twips, the
// menu bar, the frames and the captions; the pressure scale builds itself
// (scale.cpp). What the controls do is in form1.cpp.

#include "ui/form1.h"

#include "pressure/inputfilter.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/pictures.h"
#include "ui/product.h"
#include "ui/scale.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

namespace barovista {

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

void Form1::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kMainTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(windowPicture());

    Ende = menuBar()->addAction(QStringLiteral("&Reset"));
    stat = menuBar()->addAction(QStringLiteral("&Statistik"));
    Hilfe = menuBar()->addAction(QStringLiteral(" &Hilfe "));
    Info = menuBar()->addAction(QStringLiteral(" &Info "));
    Ende->setObjectName(QStringLiteral("Ende"));
    stat->setObjectName(QStringLiteral("stat"));
    Hilfe->setObjectName(QStringLiteral("Hilfe"));
    Info->setObjectName(QStringLiteral("Info"));
    menuBar()->setAccessibleName(QStringLiteral("Menü"));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(11505), px(5610));
    client->setAutoFillBackground(true);
    // Black captions on the light window colour, whatever the desktop theme.
    setColours(client, {{QPalette::Window, kWindowQColor}, {QPalette::WindowText, Qt::black}});
    client->setFont(arial(FontSize::Small));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto frame = [client](const char *name, const QString &caption, QRect geometry) {
        auto *box = named(new QGroupBox(caption, client), name);
        box->setGeometry(geometry);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    };
    Frame4 = frame("Frame4", QStringLiteral("Auswertung"), twipRect(240, 120, 7215, 2415));
    Frame3 =
        frame("Frame3", QStringLiteral("Eingabe (absoluter Luftdruck)"), twipRect(240, 2760, 3495, 2655));
    Frame1 = frame("Frame1", QStringLiteral("Barometer-Kalibrierung"), twipRect(3960, 2760, 3495, 2655));
    Frame2 = new Scale(client, m_locale);

    auto input = [](QWidget *parent, const char *name, QRect geometry, int maxLength) {
        auto *field = named(new InputField(parent), name);
        field->setGeometry(geometry);
        field->setMaxLength(maxLength);
        field->setFont(arial(FontSize::Medium));
        field->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        return field;
    };
    auto display = [](QWidget *parent, const char *name, QRect geometry) {
        auto *field = named(new QLineEdit(parent), name);
        field->setGeometry(geometry);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setFont(arial(FontSize::Huge));
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setCursor(Qt::ArrowCursor);
        field->setContextMenuPolicy(Qt::NoContextMenu);
        // Black on the window colour, whatever the desktop theme: a dark
        // theme's light text would be unreadable on the light background.
        setColours(field, {{QPalette::Base, kWindowQColor}, {QPalette::Text, Qt::black}});
        return field;
    };
    auto button = [](QWidget *parent, const char *name, const QString &caption, QRect geometry) {
        auto *push = named(new QPushButton(caption, parent), name);
        push->setGeometry(geometry);
        push->setFont(arial(FontSize::Small));
        // Enter on the focused button presses it.
        push->setAutoDefault(true);
        push->setFocusPolicy(Qt::StrongFocus);
        return push;
    };

    // Inputs.
    Label2 = makeLabel(Frame3, "Label2", QStringLiteral("Luftdruck laut Barometer:"),
                       twipRect(560, 320, 2580, 255), arial(FontSize::Medium, true));
    eingabe2 = input(Frame3, "eingabe2", twipRect(1280, 600, 975, 360), kPressureLength);
    Label1 = makeLabel(Frame3, "Label1", QStringLiteral("Aktuelle Höhe in Metern:"),
                       twipRect(560, 1170, 2655, 255), arial(FontSize::Medium, true));
    eingabe1 = input(Frame3, "eingabe1", twipRect(1280, 1455, 975, 360), kAltitudeLength);
    Command1 =
        button(Frame3, "Command1", QStringLiteral("&Berechnung durchführen"), twipRect(320, 2040, 2895, 375));

    // Calibration.
    Label5 =
        makeLabel(Frame1, "Label5", QStringLiteral("Luftdruck laut Wetterdienst (auf Meereshöhe reduziert):"),
                  twipRect(430, 480, 2760, 735), arial(FontSize::Medium, true));
    eingabe3 = input(Frame1, "eingabe3", twipRect(1080, 1320, 975, 330), kPressureLength);
    Label12 = makeLabel(Frame1, "Label12", QStringLiteral("hPa"), twipRect(2160, 1380, 615, 255),
                        arial(FontSize::Medium, true));
    Command2 = button(Frame1, "Command2", QStringLiteral("&Kalibrierung durchführen"),
                      twipRect(310, 2040, 2895, 375));

    // Results.
    Label4 = makeLabel(Frame4, "Label4", QStringLiteral("Auf Meereshöhe reduzierter Luftdruck:"),
                       twipRect(355, 420, 4575, 375), arial(FontSize::Large, true));
    anzeige2 = display(Frame4, "anzeige2", twipRect(5000, 370, 1845, 450));
    Label3 = makeLabel(Frame4, "Label3", QStringLiteral("Mittlerer Luftdruck für aktuelle Höhe:"),
                       twipRect(355, 1005, 4575, 375), arial(FontSize::Large, true));
    anzeige1 = display(Frame4, "anzeige1", twipRect(5000, 960, 1845, 450));
    anzeige4 = makeLabel(Frame4, "anzeige4", QString(), twipRect(900, 1680, 5415, 495),
                         arial(FontSize::Medium, true), Qt::AlignHCenter);
    Line21 = new Line(Frame4, 360, 860, 6840, 860);
    Line21->setObjectName(QStringLiteral("Line21"));
    Line22 = new Line(Frame4, 360, 1440, 6840, 1440);
    Line22->setObjectName(QStringLiteral("Line22"));

    // A screen reader announces each field by the label beside it.
    const std::pair<QLabel *, QWidget *> buddies[] = {
        {Label2, eingabe2}, {Label1, eingabe1}, {Label5, eingabe3}, {Label4, anzeige2}, {Label3, anzeige1}};
    for (const auto &[label, field] : buddies) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    anzeige4->setAccessibleName(QStringLiteral("Ergebnis"));

    menuBar()->installEventFilter(this);

    setTabOrder(eingabe2, eingabe1);
    setTabOrder(eingabe1, Command1);
    setTabOrder(Command1, eingabe3);
    setTabOrder(eingabe3, Command2);
    eingabe2->setFocus();
}

} // namespace barovista
