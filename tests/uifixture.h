#pragma once

#include "fakeplatform.h"
#include "ui/form1.h"

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

inline QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace barovista::testing
