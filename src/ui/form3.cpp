// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form3.h"

#include <QAccessibleWidget>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QShowEvent>
#include <QUrl>

#include "ui/accessibility.h"
#include "ui/platform.h"
#include "ui/product.h"
#include "ui/twips.h"
#include "ui/widgets.h"

namespace barovista {

namespace {

// The link cursor: a pointing hand whose hot spot is the tip of the finger.
QCursor handCursor()
{
    const QPixmap hand(QStringLiteral(":/icons/hand.png"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 12, 1);
}

// The web address of the info window: a link that opens the product page.
class LinkAccessible final : public QAccessibleWidget
{
public:
    explicit LinkAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (auto *info = qobject_cast<Form3 *>(widget()->window()))
            info->Label3_Click();
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction())
            return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

QAccessibleInterface *linkInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLabel") && object->objectName() == QLatin1String("Label3")) {
        auto *label = static_cast<QLabel *>(object);
        if (qobject_cast<Form3 *>(label->window()))
            return new LinkAccessible(label);
    }
    return nullptr;
}

} // namespace

QString productUrl()
{
    return QStringLiteral("https://www.barovista.de");
}

Form3::Form3(QWidget *owner, Platform &platform)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_platform(platform)
{
    initWindowResources();
    installAccessibility();
    // The address is a link for a screen reader; installed once, before the
    // label exists, since Qt keeps the interface it first made.
    static const bool linkInstalled = [] {
        QAccessible::installFactory(linkInterface);
        return true;
    }();
    Q_UNUSED(linkInstalled);

    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(titleOf(QStringLiteral("Info")));
    setModal(true);
    setFixedSize(px(5250), px(1620));

    // The window colour is fixed, so the text colour is too: a dark desktop
    // theme must not turn the captions white on the light background.
    setColours(this, {{QPalette::Window, kWindowQColor}, {QPalette::WindowText, Qt::black}});
    setAutoFillBackground(true);

    // Created in tab order; labels take no focus, the order only ranks them.
    Label1 =
        makeLabel(this, "Label1", kMainTitle, twipRect(480, 360, 3375, 375), arial(FontSize::Huge, true));
    Label2 = makeLabel(this, "Label2", QStringLiteral("© 2025–2026 Barovista-Projekt"),
                       twipRect(480, 720, 3135, 255), arial(FontSize::Small));

    const QString address = productUrl();
    const QString withoutScheme = address.mid(address.indexOf(QLatin1String("://")) + 3);
    Label3 = makeLabel(this, "Label3", withoutScheme.toUpper(), twipRect(480, 1080, 1930, 255),
                       arial(FontSize::Small));
    // Captions wrap at blanks within their box; these three fit theirs.
    for (QLabel *label : {Label1, Label2, Label3})
        label->setWordWrap(true);
    setColours(Label3, {{QPalette::WindowText, kBlue}});
    Label3->setCursor(handCursor());
    // A link for the keyboard too: Tab reaches it, Enter or Space opens it.
    // A click does not move the focus onto it.
    Label3->setFocusPolicy(Qt::TabFocus);
    Label3->setAccessibleName(QStringLiteral("Produktwebseite ") + withoutScheme
                              + QStringLiteral(" im Browser öffnen"));
    Label3->setAccessibleDescription(QStringLiteral("Öffnet die Produktwebseite im Browser."));
    Label3->installEventFilter(this);

    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipRect(4200, 360, 735, 855));
    Picture2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture2->setAccessibleName(QStringLiteral("Emblem"));
    QIcon emblem;
    emblem.addFile(QStringLiteral(":/icons/emblem.png"));
    emblem.addFile(QStringLiteral(":/icons/emblem@2x.png"));
    Picture2->setPixmap(emblem.pixmap(QSize(48, 48), devicePixelRatioF()));
}

void Form3::Label3_Click()
{
    m_platform.openUrl(QUrl(productUrl())); // the result is not examined
}

void Form3::showEvent(QShowEvent *event)
{
    // Every showing starts afresh with the focus on the window itself, so
    // Enter does not open the browser by surprise; Tab reaches the link.
    if (!event->spontaneous())
        setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(event);
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Label3)
        return QDialog::eventFilter(watched, event);

    // A click is a press and a release of the left button on the label; the
    // second press of a double click is no new click.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_linkPressed = true;
        break;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const bool clicked = m_linkPressed && Label3->rect().contains(mouse->position().toPoint());
        m_linkPressed = false;
        if (clicked)
            Label3_Click();
        break;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool opens =
            key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
        if (opens && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                Label3_Click();
            return true;
        }
        break;
    }
    // The focused link is underlined, so the keyboard user sees where it is.
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        QFont font = Label3->font();
        font.setUnderline(event->type() == QEvent::FocusIn);
        Label3->setFont(font);
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace barovista
