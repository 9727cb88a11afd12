#include "ui/form1.h"

#include "history/statistics.h"
#include "pressure/calibration.h"
#include "pressure/formulas.h"
#include "ui/accessibility.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/inputfilter.h"
#include "ui/line.h"
#include "ui/pictures.h"
#include "ui/platform.h"
#include "ui/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>

#include <cmath>

// The pictures live in the static window library; initialising them here keeps
// them linked in wherever the main window is used.
static void initWindowResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace barovista {

QString altitudeMissingPrompt()
{
    return QStringLiteral("Bitte geben Sie die aktuelle Höhe in Metern ein, auf der Sie sich   \r\n"
                          "gegenwärtig befinden.");
}

QString readingMissingPrompt()
{
    return QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, den Ihr Barometer anzeigt.");
}

QString weatherServiceMissingPrompt()
{
    return QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, der von einem   \r\n"
                          "Wetterdienst für Ihren gegenwärtigen Standort ausgewiesen wird.");
}

namespace {

const QColor kWindowQColor(kWindowColour.red, kWindowColour.green, kWindowColour.blue);
const QColor kBlue(kAboveColour.red, kAboveColour.green, kAboveColour.blue);
const QColor kRed(kBelowColour.red, kBelowColour.green, kBelowColour.blue);

// Arial at pixel sizes, so the text does not depend on the screen's dpi.
enum class FontSize { Small = 11, Medium = 13, Large = 16, Huge = 19 };

QFont arial(FontSize size, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(size));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

template<typename T>
T *named(T *widget, const char *name, int tabIndex)
{
    widget->setObjectName(QLatin1String(name));
    // The control's place in the window's tab order; only five controls take
    // the focus, the others keep their number only to rank them.
    widget->setProperty("TabIndex", tabIndex);
    return widget;
}

// Captions wrap at blanks when they are wider than their box. Qt's own word
// wrap would also break a caption that fits to the pixel, so a one-line
// caption wraps only when its text really is wider.
void fitCaption(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    const bool severalLines = label->height() >= 2 * metrics.height();
    label->setWordWrap(severalLines || metrics.horizontalAdvance(label->text()) > label->width());
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, QRect twipGeometry,
                  const QFont &font, int tabIndex, Qt::Alignment horizontal = Qt::AlignLeft)
{
    auto *label = named(new QLabel(caption, parent), name, tabIndex);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setFont(font);
    label->setGeometry(twipGeometry);
    fitCaption(label);
    return label;
}

QRect geometryTwips(double left, double top, double width, double height)
{
    return twipRect(left, top, width, height);
}

} // namespace

Form1::Form1(std::unique_ptr<Platform> platform, const DisplayLocale &locale)
    : m_platform(platform ? std::move(platform) : std::make_unique<DesktopPlatform>()),
      m_locale(locale)
{
    initWindowResources();
    installAccessibility();
    buildWindow();
    connectHandlers();
}

Form1::~Form1()
{
    if (s_exitSaveWindow == this)
        s_exitSaveWindow = nullptr;
    delete m_form2;
    delete m_form3;
    // The controls outlive this destructor by a moment (QWidget deletes its
    // children later) and may still see focus events: detach them from the
    // handlers of an object that is no longer a Form1.
    for (InputField *field : {eingabe1, eingabe2, eingabe3}) {
        field->keyDown = nullptr;
        field->keyPress = nullptr;
        field->keyUp = nullptr;
        field->focusChanged = nullptr;
    }
    for (QObject *child : findChildren<QObject *>())
        child->removeEventFilter(this);
}

Form2 *Form1::helpWindow() const
{
    return m_form2;
}

Form3 *Form1::infoWindow() const
{
    return m_form3;
}

void Form1::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kMainTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
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
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, kWindowQColor);
    // Black captions on the light window colour, whatever the desktop theme.
    palette.setColor(QPalette::WindowText, Qt::black);
    client->setPalette(palette);
    client->setFont(arial(FontSize::Small));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto frame = [client](const char *name, const QString &caption, QRect geometry, int tabIndex) {
        auto *box = named(new QGroupBox(caption, client), name, tabIndex);
        box->setGeometry(geometry);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    };
    Frame4 = frame("Frame4", QStringLiteral("Auswertung"), geometryTwips(240, 120, 7215, 2415), 11);
    Frame3 = frame("Frame3", QStringLiteral("Eingabe (absoluter Luftdruck)"),
                   geometryTwips(240, 2760, 3495, 2655), 8);
    Frame1 = frame("Frame1", QStringLiteral("Barometer-Kalibrierung"),
                   geometryTwips(3960, 2760, 3495, 2655), 0);
    Frame2 = frame("Frame2", QStringLiteral("Relativer Luftdruck"),
                   geometryTwips(7680, 120, 3615, 5295), 7);

    auto input = [](QWidget *parent, const char *name, QRect geometry, int maxLength, int tabIndex) {
        auto *field = named(new InputField(parent), name, tabIndex);
        field->setGeometry(geometry);
        field->setMaxLength(maxLength);
        field->setFont(arial(FontSize::Medium));
        field->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        return field;
    };
    auto display = [](QWidget *parent, const char *name, QRect geometry, int tabIndex) {
        auto *field = named(new QLineEdit(parent), name, tabIndex);
        field->setGeometry(geometry);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setFont(arial(FontSize::Huge));
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setCursor(Qt::ArrowCursor);
        field->setContextMenuPolicy(Qt::NoContextMenu);
        // Black on the window colour, whatever the desktop theme: a dark
        // theme's light text would be unreadable on the light background.
        QPalette fieldPalette = field->palette();
        fieldPalette.setColor(QPalette::Base, kWindowQColor);
        fieldPalette.setColor(QPalette::Text, Qt::black);
        field->setPalette(fieldPalette);
        return field;
    };
    auto button = [](QWidget *parent, const char *name, const QString &caption, QRect geometry,
                     int tabIndex) {
        auto *push = named(new QPushButton(caption, parent), name, tabIndex);
        push->setGeometry(geometry);
        push->setFont(arial(FontSize::Small));
        // Enter on the focused button presses it.
        push->setAutoDefault(true);
        push->setFocusPolicy(Qt::StrongFocus);
        return push;
    };

    // Inputs.
    Label2 = makeLabel(Frame3, "Label2", QStringLiteral("Luftdruck laut Barometer:"),
                       geometryTwips(560, 320, 2580, 255), arial(FontSize::Medium, true), 9);
    eingabe2 = input(Frame3, "eingabe2", geometryTwips(1280, 600, 975, 360), 7, 1);
    Label1 = makeLabel(Frame3, "Label1", QStringLiteral("Aktuelle Höhe in Metern:"),
                       geometryTwips(560, 1170, 2655, 255), arial(FontSize::Medium, true), 10);
    eingabe1 = input(Frame3, "eingabe1", geometryTwips(1280, 1455, 975, 360), 4, 2);
    Command1 = button(Frame3, "Command1", QStringLiteral("&Berechnung durchführen"),
                      geometryTwips(320, 2040, 2895, 375), 3);

    // Calibration.
    Label5 = makeLabel(Frame1, "Label5",
                       QStringLiteral("Luftdruck laut Wetterdienst (auf Meereshöhe reduziert):"),
                       geometryTwips(430, 480, 2760, 735), arial(FontSize::Medium, true), 6);
    eingabe3 = input(Frame1, "eingabe3", geometryTwips(1080, 1320, 975, 330), 7, 4);
    Label12 = makeLabel(Frame1, "Label12", QStringLiteral("hPa"), geometryTwips(2160, 1380, 615, 255),
                        arial(FontSize::Medium, true), 21);
    Command2 = button(Frame1, "Command2", QStringLiteral("&Kalibrierung durchführen"),
                      geometryTwips(310, 2040, 2895, 375), 5);

    // Results.
    Label4 = makeLabel(Frame4, "Label4", QStringLiteral("Auf Meereshöhe reduzierter Luftdruck:"),
                       geometryTwips(355, 420, 4575, 375), arial(FontSize::Large, true), 14);
    anzeige2 = display(Frame4, "anzeige2", geometryTwips(5000, 370, 1845, 450), 12);
    Label3 = makeLabel(Frame4, "Label3", QStringLiteral("Mittlerer Luftdruck für aktuelle Höhe:"),
                       geometryTwips(355, 1005, 4575, 375), arial(FontSize::Large, true), 15);
    anzeige1 = display(Frame4, "anzeige1", geometryTwips(5000, 960, 1845, 450), 13);
    anzeige4 = makeLabel(Frame4, "anzeige4", QString(), geometryTwips(900, 1680, 5415, 495),
                         arial(FontSize::Medium, true), 16, Qt::AlignHCenter);
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

    buildScale();

    setTabOrder(eingabe2, eingabe1);
    setTabOrder(eingabe1, Command1);
    setTabOrder(Command1, eingabe3);
    setTabOrder(eingabe3, Command2);
    eingabe2->setFocus();
}

void Form1::buildScale()
{
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
    auto *spine = new Line(Frame2, 1800, 738, 1800, 4738);
    spine->setObjectName(QStringLiteral("Line1"));
    for (const Tick &tick : ticks)
        new Line(Frame2, tick.x1, tick.y, tick.x2, tick.y);
    int i = 0;
    for (auto *line : Frame2->findChildren<Line *>(Qt::FindDirectChildrenOnly)) {
        if (line != spine)
            line->setObjectName(QLatin1String(ticks[i++].name));
    }

    latte = new Line(Frame2, 1320, scale::kHomeY, 2280, scale::kHomeY, kRed);
    latte->setObjectName(QStringLiteral("latte"));

    struct Caption
    {
        QLabel *Form1::*member;
        const char *name;
        const char *caption;
        int left, top, width;
        QColor colour;
        int tabIndex;
    };
    const Caption captions[] = {
        {&Form1::Label8, "Label8", "1063,25 hPa", 2400, 620, 1095, kBlue, 18},
        {&Form1::Label16, "Label16", "1053,25 hPa", 2400, 1020, 1095, kBlue, 27},
        {&Form1::Label10, "Label10", "1043,25 hPa", 2400, 1430, 1095, kBlue, 26},
        {&Form1::Label15, "Label15", "1033,25 hPa", 2400, 1820, 1095, kBlue, 25},
        {&Form1::Label6, "Label6", "1023,25 hPa", 2400, 2220, 1095, kBlue, 24},
        {&Form1::Label7, "Label7", "1013,25 hPa", 2400, 2630, 1095, Qt::black, 17},
        {&Form1::range, "range", "out of range", 240, 2640, 945, kRed, 20},
        {&Form1::Label13, "Label13", "1013,25 hPa", 240, 2745, 975, Qt::black, 22},
        {&Form1::Label11, "Label11", "1003,25 hPa", 2400, 3010, 1095, kRed, 28},
        {&Form1::Label14, "Label14", "+15,99 hPa", 240, 3120, 975, Qt::black, 23},
        {&Form1::Label19, "Label19", "993,25 hPa", 2490, 3420, 855, kRed, 31},
        {&Form1::Label18, "Label18", "983,25 hPa", 2490, 3825, 855, kRed, 30},
        {&Form1::Label17, "Label17", "973,25 hPa", 2490, 4215, 855, kRed, 29},
        {&Form1::Label9, "Label9", "963,25 hPa", 2490, 4620, 855, kRed, 19},
    };
    for (const Caption &c : captions) {
        const bool indicatorLabel = c.member == &Form1::Label13 || c.member == &Form1::Label14;
        QLabel *label = makeLabel(Frame2, c.name, QString::fromUtf8(c.caption),
                                  geometryTwips(c.left, c.top, c.width, 255), arial(FontSize::Small),
                                  c.tabIndex, indicatorLabel ? Qt::AlignRight : Qt::AlignLeft);
        setTextColour(label, Rgb{c.colour.red(), c.colour.green(), c.colour.blue()});
        label->setMouseTracking(true);
        label->installEventFilter(this);
        this->*c.member = label;
    }
    range->hide();
    Frame2->setMouseTracking(true);
    Frame2->installEventFilter(this);
    menuBar()->installEventFilter(this);
}

void Form1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Ende, &QAction::triggered, this, &Form1::Ende_Click);
    connect(stat, &QAction::triggered, this, &Form1::stat_Click);
    connect(Hilfe, &QAction::triggered, this, &Form1::Hilfe_Click);
    connect(Info, &QAction::triggered, this, &Form1::Info_Click);

    eingabe1->keyDown = [this](int key) { eingabe1_KeyDown(key); };
    eingabe1->keyPress = [this](char16_t c) { return altitudeKeyPress(eingabe1, c); };
    eingabe1->keyUp = [this](int key) { eingabe1_KeyUp(key); };
    eingabe2->keyDown = [this](int key) { eingabe2_KeyDown(key); };
    eingabe2->keyPress = [this](char16_t c) { return pressureKeyPress(eingabe2, c); };
    eingabe2->keyUp = [this](int key) { eingabe2_KeyUp(key); };
    eingabe3->keyDown = [this](int key) { eingabe3_KeyDown(key); };
    eingabe3->keyPress = [this](char16_t c) { return pressureKeyPress(eingabe3, c); };
    for (InputField *field : {eingabe1, eingabe2, eingabe3}) {
        field->focusChanged = [this, field](QFocusEvent *event) {
            syncFocus();
            // Qt selects the whole text when a field is tabbed into, after
            // the entry has placed the caret: place it again.
            const Qt::FocusReason reason = event->reason();
            const bool realEntry = event->gotFocus() && reason != Qt::ActiveWindowFocusReason
                && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason;
            if (realEntry && m_logicalFocus == field)
                focusEntry(field);
        };
    }

    for (QWidget *widget : {static_cast<QWidget *>(Command1), static_cast<QWidget *>(Command2),
                            static_cast<QWidget *>(anzeige1), static_cast<QWidget *>(anzeige2)})
        widget->installEventFilter(this);

    // The save an exit() would make follows every text that closing saves.
    for (QLineEdit *field : {static_cast<QLineEdit *>(eingabe1), static_cast<QLineEdit *>(eingabe2),
                             static_cast<QLineEdit *>(eingabe3), anzeige1, anzeige2})
        connect(field, &QLineEdit::textChanged, this, &Form1::prepareExitSave);
}

// ---------------------------------------------------------------------------
// Evaluation and calibration

void Form1::warn(const QString &prompt)
{
    m_platform->showMessage(this, {prompt, kMainTitle, Platform::Buttons::Ok, Platform::Icon::Warning,
                                   Platform::Answer::Ok});
}

void Form1::warnAltitudeOutOfRange()
{
    warn(QStringLiteral("Für diese Höhe kann der Luftdruck nicht berechnet werden.   \r\n"
                        "Bitte geben Sie eine Höhe zwischen 0 und 9999 Metern ein."));
}

// Only the empty text counts as missing; a lone "." is evaluated as 0.
bool Form1::refuseEmpty(InputField *field, const QString &prompt)
{
    if (!field->text().isEmpty())
        return false;
    warn(prompt);
    focusTo(field);
    return true;
}

void Form1::Command1_Click()
{
    if (refuseEmpty(eingabe1, altitudeMissingPrompt()) || refuseEmpty(eingabe2, readingMissingPrompt()))
        return;
    const double altitude = readLeadingNumber(eingabe1->text());
    const double reading = readLeadingNumber(eingabe2->text());
    // Refused before anything changes: the formula has no value there.
    const std::optional<Evaluation> result = evaluate(altitude, reading);
    if (!result || !std::isfinite(result->tendenz)) {
        warnAltitudeOutOfRange();
        focusTo(eingabe1);
        return;
    }

    tendenzlatte = TaggedValue::fromDouble(0);
    scaleStartState();
    eingabe_hoehe = TaggedValue::fromDouble(altitude);
    normaldruck_meer = TaggedValue::fromDouble(result->meanPressure);
    tendenz = TaggedValue::fromDouble(result->tendenz);
    anzeige1->setText(pressureFieldText(result->meanPressure, m_locale));
    anzeige2->setText(pressureFieldText(result->seaLevel, m_locale));
    applyDeviationMessage(result->tendenz);
    placeIndicator(result->tendenz);
    saveok = 1;
    prepareExitSave();
}

void Form1::Command2_Click()
{
    if (refuseEmpty(eingabe3, weatherServiceMissingPrompt()) || refuseEmpty(eingabe1, altitudeMissingPrompt())
        || refuseEmpty(eingabe2, readingMissingPrompt()))
        return;
    const std::optional<Calibration> result = calibrate(readLeadingNumber(eingabe1->text()),
                                                        readLeadingNumber(eingabe2->text()),
                                                        readLeadingNumber(eingabe3->text()));
    if (!result || !std::isfinite(result->deviation)) {
        warnAltitudeOutOfRange();
        focusTo(eingabe1);
        return;
    }
    eingabe_hoehe = TaggedValue::fromDouble(result->altitude);
    eingabe_wetterdienst = TaggedValue::fromDouble(result->weatherService);
    druckabweichung = result->deviation;
    m_platform->showMessage(this, {calibrationReport(*result, m_locale),
                                   QStringLiteral("Barovista 1.1 - Kalibrierung"), Platform::Buttons::Ok,
                                   Platform::Icon::None, Platform::Answer::Ok});
}

void Form1::applyDeviationMessage(double tendenzValue)
{
    const DeviationMessage message = deviationMessage(tendenzValue, m_locale);
    const Rgb colour = colourOf(message.tendency);
    setMessage(message.message);
    setTextColour(anzeige4, colour);
    Label14->setText(message.label);
    fitCaption(Label14);
    setTextColour(Label14, colour);
}

void Form1::setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    fitCaption(label);
}

// The sentence under the results. A screen reader says the field's name,
// "Ergebnis", and then the sentence itself, so it goes into the description
// too, and leaves it when the sentence does.
void Form1::setMessage(const QString &text)
{
    anzeige4->setText(text);
    anzeige4->setAccessibleDescription(text);
    prepareExitSave();
}

void Form1::setTextColour(QWidget *widget, const Rgb &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    widget->setPalette(palette);
}

// ---------------------------------------------------------------------------
// The scale

void Form1::scaleStartState()
{
    latte->show();
    Label13->show();
    Label14->show();
    range->hide();
    latte->setY1(scale::kHomeY);
    latte->setY2(scale::kHomeY);
}

void Form1::setLabelTop(QLabel *label, float topTwips)
{
    (label == Label13 ? m_label13Top : m_label14Top) = topTwips;
    label->move(label->x(), px(topTwips));
}

void Form1::placeIndicator(double tendenzValue)
{
    const double offset = scale::indicatorOffset(tendenzValue);
    tendenzlatte = TaggedValue::fromDouble(offset);
    latte->setY1(scale::movedY(latte->Y1(), offset));
    latte->setY2(scale::movedY(latte->Y2(), offset));
    setLabelTop(Label13, latte->Y1() - scale::kLabel13Above);
    setLabelTop(Label14, m_label13Top + scale::kLabel14Below);
    Label13->setText(anzeige2->text());
    fitCaption(Label13);
    if (scale::isOffScale(tendenzValue)) {
        latte->hide();
        range->show();
        Label13->hide();
        Label14->hide();
    }
}

void Form1::hideIndicator()
{
    latte->hide();
    Label13->hide();
    Label14->hide();
    range->hide();
}

// ---------------------------------------------------------------------------
// Keys and focus of the input fields

char16_t Form1::altitudeKeyPress(InputField *field, char16_t character)
{
    const FilterDecision decision = altitudeFilter(field->text(), character);
    if (decision.beep)
        m_platform->beep();
    return decision.character;
}

char16_t Form1::pressureKeyPress(InputField *field, char16_t character)
{
    const FilterDecision decision = pressureFilter(field->text(), character);
    if (decision.beep)
        m_platform->beep();
    return decision.character;
}

void Form1::eingabe1_KeyDown(int key)
{
    if (key == Qt::Key_Shift)
        return;
    if (key == Qt::Key_F12) {
        m_platform->showMessage(this, {pfad.toText(m_locale), QStringLiteral("Speicherpfad"),
                                       Platform::Buttons::Ok, Platform::Icon::None, Platform::Answer::Ok});
    }
    if (key == Qt::Key_F1)
        Hilfe_Click();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(Command1);
    liveRecomputation();
}

void Form1::eingabe1_KeyUp(int key)
{
    if (key != Qt::Key_Shift)
        liveRecomputation();
}

void Form1::eingabe2_KeyDown(int key)
{
    if (key == Qt::Key_F1)
        Hilfe_Click();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(eingabe1);
}

void Form1::eingabe2_KeyUp(int key)
{
    if (key != Qt::Key_Shift)
        resultClearing();
}

void Form1::eingabe3_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(Command2);
    if (key == Qt::Key_F1)
        Hilfe_Click();
}

void Form1::liveRecomputation()
{
    if (eingabe1->text().isEmpty()) {
        anzeige1->setText(QString());
        return;
    }
    const double altitude = readLeadingNumber(eingabe1->text());
    const double reading = readLeadingNumber(eingabe2->text());
    const std::optional<Evaluation> result = evaluate(altitude, reading);
    eingabe_hoehe = TaggedValue::fromDouble(altitude);
    if (result) {
        normaldruck_meer = TaggedValue::fromDouble(result->meanPressure);
        tendenz = TaggedValue::fromDouble(result->tendenz);
        anzeige1->setText(pressureFieldText(result->meanPressure, m_locale));
    } else {
        // No mean pressure exists for such an altitude; show none.
        anzeige1->setText(QString());
    }
    resultClearing();
}

void Form1::resultClearing()
{
    anzeige2->setText(QString());
    Label14->hide();
    Label13->hide();
    latte->hide();
    range->hide();
    setMessage(QString());
}

void Form1::focusTo(QWidget *widget)
{
    widget->setFocus(Qt::OtherFocusReason);
    syncFocus();
}

// The window's focus widget is the logical focus: it stays the same while a
// message box or a menu is open, so focus entry and exit run only when the
// focus really moves from one control to another.
void Form1::syncFocus()
{
    QWidget *now = focusWidget();
    // Alt alone lends the focus to the menu bar for its keyboard navigation;
    // the field keeps its state until a control really takes the focus.
    if (now == m_logicalFocus || now == menuBar())
        return;
    QWidget *old = m_logicalFocus;
    m_logicalFocus = now;
    if (auto *field = qobject_cast<InputField *>(old))
        focusExit(field);
    if (auto *field = qobject_cast<InputField *>(now))
        focusEntry(field);
}

void Form1::focusEntry(InputField *field)
{
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    field->deselect();
    field->setCursorPosition(field->text().size());
}

void Form1::focusExit(InputField *field)
{
    field->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

// ---------------------------------------------------------------------------
// Events of controls without handlers of their own

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == menuBar())
            return menuBarKey(static_cast<QKeyEvent *>(event));
        if ((watched == Command1 || watched == Command2)
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
            Hilfe_Click();
            return true;
        }
        break;
    case QEvent::Shortcut:
        // The access key moves the focus onto the button before pressing it,
        // so the release of Alt and the letter reaches the button, not the
        // altitude field, whose key-up would clear the fresh result again.
        if (watched == Command1 || watched == Command2) {
            auto *button = static_cast<QPushButton *>(watched);
            focusTo(button);
            button->click();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == anzeige1 || watched == anzeige2) {
            focusTo(eingabe2);
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (watched->parent() == Frame2 || watched == Frame2) {
            hoverScale(watched);
            // Captions without hover feedback keep the move to themselves, so
            // the frame beneath does not react either.
            return true;
        }
        break;
    case QEvent::ToolTip:
        // A caption of the scale shows its own hover text or none: Qt would
        // pass the request on to the frame and show the frame's instead.
        if (watched->parent() == Frame2 && static_cast<QWidget *>(watched)->toolTip().isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// After Alt alone the menu bar waits for a letter. Its entries open no menus,
// so Qt would only highlight the entry; run it at once instead, as the
// letter does together with Alt.
bool Form1::menuBarKey(QKeyEvent *event)
{
    const QString typed = event->text().toLower();
    if (typed.size() != 1 || !typed.front().isLetter())
        return false;
    for (QAction *action : menuBar()->actions()) {
        const QString caption = action->text();
        const qsizetype amp = caption.indexOf(QLatin1Char('&'));
        if (amp < 0 || amp + 1 >= caption.size() || caption[amp + 1].toLower() != typed.front())
            continue;
        // Leave the keyboard navigation first, which hands the focus back.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(menuBar(), &escape);
        action->trigger();
        return true;
    }
    return false;
}

void Form1::hoverScale(QObject *watched)
{
    QWidget *target = nullptr;
    if (watched == Frame2 || watched == range)
        target = Frame2;
    else if (watched == Label8 || watched == Label10 || watched == Label6 || watched == Label7
             || watched == Label11 || watched == Label9)
        target = static_cast<QWidget *>(watched);
    if (!target)
        return;
    const QString text = anzeige2->text();
    if (text.isEmpty())
        return;
    // The text may come from the history file: never let it be read as markup.
    target->setToolTip(Qt::mightBeRichText(text)
                           ? QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
                                 + QStringLiteral("</p>")
                           : text);
}

// ---------------------------------------------------------------------------
// Menu

void Form1::Hilfe_Click()
{
    if (!m_form2)
        m_form2 = new Form2(this);
    centreOver(*m_form2, *this);
    m_platform->runModal(*m_form2);
}

void Form1::Info_Click()
{
    if (!m_form3)
        m_form3 = new Form3(this, *m_platform);
    centreOver(*m_form3, *this);
    m_platform->runModal(*m_form3);
}

void Form1::stat_Click()
{
    const QString title = QStringLiteral("Barovista 1.1 - Statistik");
    const std::optional<QString> report = statisticsReport(toRecord(), m_platform->now().date(), m_locale);
    if (!report) {
        m_platform->showMessage(this, {QStringLiteral("Keine historischen Daten vorhanden!"), title,
                                       Platform::Buttons::Ok, Platform::Icon::Information,
                                       Platform::Answer::Ok});
        return;
    }
    m_platform->showMessage(this, {*report, title, Platform::Buttons::Ok, Platform::Icon::None,
                                   Platform::Answer::Ok});
    focusTo(eingabe2);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_ended && !m_unloaded) {
        m_unloaded = true;
        Form1_Unload();
    }
    event->accept();
}

} // namespace barovista
