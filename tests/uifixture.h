#pragma once

#include "fakeplatform.h"
#include "fileio.h"
#include "ui/form1.h"
#include "ui/inputfield.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace barovista::testing {

// A main window with a recording platform, the German display locale and a
// temporary APPDATA of its own, started as the program starts it.
struct Window
{
    QTemporaryDir appData;
    FakePlatform *platform = nullptr;
    std::unique_ptr<Form1> form;

    explicit Window(bool load = true, bool show = true, const QString &appDataPath = QString())
    {
        qputenv("APPDATA", (appDataPath.isEmpty() ? appData.path() : appDataPath).toLocal8Bit());
        auto fake = std::make_unique<FakePlatform>();
        platform = fake.get();
        form = std::make_unique<Form1>(std::move(fake), DisplayLocale::german());
        if (load)
            form->Form1_Load();
        if (show) {
            form->show();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        }
    }
    Form1 *operator->() const { return form.get(); }
};

// A whole program run on a given APPDATA, started at a given moment, as
// main() starts it; shown only on request, since many checks need no window
// on screen.
struct Run
{
    std::unique_ptr<Window> window;

    Run(const QString &appData, const QDateTime &now, bool show)
    {
        window = std::make_unique<Window>(false, false, appData);
        window->platform->clock = now;
        (*window)->Form1_Load();
        if (show) {
            (*window)->show();
            (*window)->activateWindow();
            if (!QTest::qWaitForWindowActive(window->form.get()))
                qWarning("window did not become active");
        }
    }
    Form1 *operator->() const { return window->form.get(); }
    FakePlatform &platform() const { return *window->platform; }

    void evaluate(const QString &altitude, const QString &reading)
    {
        window->form->eingabe1->setText(altitude);
        window->form->eingabe2->setText(reading);
        window->form->Command1->click();
    }
    void close() { window->form->close(); }
};

inline QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace barovista::testing
