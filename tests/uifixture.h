// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeplatform.h"
#include "fileio.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/scale.h"

#include <QColor>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace barovista::testing {

// The colours the windows show, as the user sees them.
// The moment the test runs start at, unless a test sets another: the
// fake platform's clock starts here too.
inline const QDateTime kMonday(QDate(2026, 12, 7), QTime(10, 15, 0));

// A temporary APPDATA of a test's own, with the data folder and the history
// file in it; made anew for each test function.
class TempAppData
{
public:
    void renew() { m_dir = std::make_unique<QTemporaryDir>(); }
    void drop() { m_dir.reset(); }
    bool isValid() const { return m_dir && m_dir->isValid(); }
    QString appData() const { return m_dir->path(); }
    QString folder() const { return appData() + QStringLiteral("/barovista"); }
    QString file() const { return folder() + QStringLiteral("/save.dat"); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace paint {
inline const QColor kBlue(0, 0, 192);
inline const QColor kRed(192, 0, 0);
inline const QColor kBlack(0, 0, 0);
inline const QColor kWindow(168, 171, 204);
} // namespace paint

// Texts of the main window's message boxes.
namespace texts {
inline const QString kTitle = QStringLiteral("Barovista 1.1");
inline const QString kAltitudeMissing = QStringLiteral(
    "Bitte geben Sie die aktuelle Höhe in Metern ein, auf der Sie sich   \r\ngegenwärtig befinden.");
inline const QString kReadingMissing =
    QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, den Ihr Barometer anzeigt.");
inline const QString kWeatherMissing =
    QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, der von einem   \r\n"
                   "Wetterdienst für Ihren gegenwärtigen Standort ausgewiesen wird.");
} // namespace texts

// Shows a window and waits until it has the focus; false where it never gets
// it.
inline bool showAndActivate(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// A main window with a recording platform, the German display locale and a
// temporary APPDATA of its own, started as the program starts it.
// Wine has no Arial; Liberation Sans has its metrics and stands in for it,
// as fontconfig makes it on Linux. A substitute is taken only where the
// family itself is missing, so Windows keeps its Arial.
inline void standInForArial()
{
#ifdef Q_OS_WIN
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(substituted);
#endif
}

struct Window
{
    QTemporaryDir appData;
    FakePlatform *platform = nullptr;
    std::unique_ptr<Form1> form;

    explicit Window(bool load = true, bool show = true, const QString &appDataPath = QString())
    {
        standInForArial();
        qputenv("APPDATA", (appDataPath.isEmpty() ? appData.path() : appDataPath).toLocal8Bit());
        auto fake = std::make_unique<FakePlatform>();
        platform = fake.get();
        form = std::make_unique<Form1>(std::move(fake), DisplayLocale::german());
        if (load)
            form->Form1_Load();
        if (show)
            QVERIFY(showAndActivate(*form));
    }
    Form1 *operator->() const { return form.get(); }

    // An evaluation as the user starts it: both fields typed, the button
    // pressed.
    void evaluate(const QString &altitude, const QString &reading)
    {
        form->eingabe1->setText(altitude);
        form->eingabe2->setText(reading);
        form->Command1->click();
    }

    // The window a test names: "Form2" opens the help window and "Form3" the
    // info window from their menu entries; any other name is the main window.
    QWidget *open(const QString &name)
    {
        if (name == QLatin1String("Form2")) {
            form->Hilfe_Click();
            return form->helpWindow();
        }
        if (name == QLatin1String("Form3")) {
            form->Info_Click();
            return form->infoWindow();
        }
        return form.get();
    }
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
        if (show && !showAndActivate(*window->form))
            qWarning("window did not become active");
    }
    Form1 *operator->() const { return window->form.get(); }
    FakePlatform &platform() const { return *window->platform; }

    void evaluate(const QString &altitude, const QString &reading) { window->evaluate(altitude, reading); }
    void close() { window->form->close(); }
};

inline QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace barovista::testing
