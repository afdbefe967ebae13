#include "formula/control/palettes/palette_manager.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "formula/control/palettes/palette_icons.h"
#include "formula/control/palettes/palette_table.h"
#include "formula/env/tool_table.h"

namespace formula {
namespace {

constexpr int kPaletteWidth = 54;
constexpr int kButtonHeight = 24;
constexpr int kGap = 2;
constexpr int kBottomMargin = 4;
const QColor kBackground(214, 222, 234);

constexpr std::array<PaletteKind, 2> kKinds = {PaletteKind::Templates, PaletteKind::Functions};

int Index(PaletteKind kind)
{
    switch (kind) {
    case PaletteKind::Templates:
        return 0;
    case PaletteKind::Functions:
        return 1;
    }
    return 0;
}

// An owner-drawn button showing its element: the active picture while
// hovered or pressed, the normal one otherwise, moved one pixel right and
// down while pressed.
class IconButton : public QAbstractButton {
public:
    IconButton(int toolId, QWidget* parent) : QAbstractButton(parent), m_toolId(toolId)
    {
        setAttribute(Qt::WA_Hover);
        setFocusPolicy(Qt::NoFocus);
        setProperty("toolId", toolId);
        setObjectName(QStringLiteral("tool_%1").arg(toolId));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        const bool pressed = isDown();
        QRect area = rect();
        if (pressed) {
            area.translate(1, 1);
        }
        DrawToolIcon(painter, area, m_toolId, pressed || underMouse());
    }

private:
    int m_toolId;
};

}  // namespace

struct PaletteManager::Impl {
    struct Palette {
        IPaletteClient* owner = nullptr;
        QPointer<QWidget> window;
    };
    std::array<Palette, 2> palettes;
    // Palette events under way: windows destroyed then are deleted later.
    int busy = 0;
    // The owners that hide() calls under way have still to tell; an owner
    // that goes meanwhile (a host may release a control from the event) is
    // struck out.
    std::vector<std::vector<IPaletteClient*>*> pendingTells;
    bool postRoutineAdded = false;

    void clicked(PaletteKind kind, int toolId)
    {
        IPaletteClient* owner = palettes[Index(kind)].owner;
        if (!owner) {
            return;
        }
        ++busy;
        owner->insertTool(toolId);
        --busy;
    }

    void destroyWindow(QWidget* window)
    {
        QObject::disconnect(window, &QObject::destroyed, nullptr, nullptr);
        window->hide();
        if (busy > 0) {
            window->deleteLater();
        } else {
            delete window;
        }
    }
};

// One floating palette: its buttons for the school class of the moment it
// was made, the background colour, and the window's close behaviour. The
// palette never takes the keyboard: it is shown without activation, refuses
// the focus and its buttons take none, so the owner keeps the focus and its
// caret while the pupil clicks buttons and goes on typing.
class PaletteWindow : public QWidget {
public:
    PaletteWindow(PaletteKind kind, int schoolClass, QWidget* parent)
        : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::WindowDoesNotAcceptFocus),
          m_kind(kind)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(kind == PaletteKind::Templates ? QStringLiteral("templatesPalette")
                                                     : QStringLiteral("functionsPalette"));
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, kBackground);
        setPalette(colours);

        // Two columns of 24-pixel buttons; a wide button takes a row.
        int column = 0;
        int y = kGap;
        int lowestBottom = 0;
        for (const PaletteButtonInfo& info : PaletteButtons(kind)) {
            if (!ButtonShown(info, schoolClass)) {
                continue;
            }
            const bool wide = info.width > kButtonHeight;
            if (wide && column != 0) {
                column = 0;
                y += kButtonHeight + kGap;
            }
            auto* button = new IconButton(info.toolId, this);
            button->setToolTip(QString::fromStdString(ButtonToolTip(info)));
            button->setGeometry(kGap + column * (kButtonHeight + kGap), y, info.width, kButtonHeight);
            lowestBottom = y + kButtonHeight;
            const int toolId = info.toolId;
            QObject::connect(button, &QAbstractButton::clicked, this,
                             [this, toolId] { PaletteManager::instance().m_impl->clicked(m_kind, toolId); });
            if (wide || column == 1) {
                column = 0;
                y += kButtonHeight + kGap;
            } else {
                column = 1;
            }
        }
        setFixedSize(kPaletteWidth, lowestBottom + kBottomMargin);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // Closing one palette destroys both.
        event->ignore();
        PaletteManager& manager = PaletteManager::instance();
        ++manager.m_impl->busy;
        manager.hide();
        --manager.m_impl->busy;
    }

    bool event(QEvent* event) override
    {
        // A window system that activates the palette all the same (one that
        // activates every window it shows, or a click on the title bar):
        // the keyboard goes straight back to the owner's window, and with
        // it to the control that had the focus there.
        if (event->type() == QEvent::WindowActivate) {
            if (QWidget* home = ownerWindow(); home && home->isVisible()) {
                home->activateWindow();
            }
        }
        return QWidget::event(event);
    }

private:
    // The window of the control the palette serves; else the window the
    // palette floats over.
    QWidget* ownerWindow() const
    {
        if (IPaletteClient* owner = PaletteManager::instance().owner(m_kind)) {
            if (QWidget* anchor = owner->paletteParent()) {
                return anchor->window();
            }
        }
        return parentWidget() ? parentWidget()->window() : nullptr;
    }

    PaletteKind m_kind;
};

namespace {

// Windows still open when the application goes are destroyed with it,
// silently: the controls are gone by then.
void DestroyPalettesAtExit()
{
    PaletteManager& manager = PaletteManager::instance();
    for (PaletteKind kind : kKinds) {
        manager.ownerGone(manager.owner(kind));
        delete manager.window(kind);
    }
}

}  // namespace

PaletteManager& PaletteManager::instance()
{
    static PaletteManager manager;
    return manager;
}

PaletteManager::PaletteManager() : m_impl(std::make_unique<Impl>()) {}

PaletteManager::~PaletteManager() = default;

void PaletteManager::setOwner(IPaletteClient* client)
{
    for (Impl::Palette& palette : m_impl->palettes) {
        palette.owner = client;
    }
}

void PaletteManager::ownerGone(IPaletteClient* client)
{
    if (!client) {
        return;
    }
    for (Impl::Palette& palette : m_impl->palettes) {
        if (palette.owner == client) {
            palette.owner = nullptr;
        }
    }
    for (std::vector<IPaletteClient*>* toTell : m_impl->pendingTells) {
        std::replace(toTell->begin(), toTell->end(), client, static_cast<IPaletteClient*>(nullptr));
    }
}

IPaletteClient* PaletteManager::owner(PaletteKind kind) const
{
    return m_impl->palettes[Index(kind)].owner;
}

bool PaletteManager::show(bool templates, bool functions)
{
    if (!m_impl->postRoutineAdded) {
        qAddPostRoutine(DestroyPalettesAtExit);
        m_impl->postRoutineAdded = true;
    }
    bool templatesMade = false;
    for (PaletteKind kind : kKinds) {
        if (!(kind == PaletteKind::Templates ? templates : functions)) {
            continue;
        }
        Impl::Palette& palette = m_impl->palettes[Index(kind)];
        if (palette.window) {
            continue;
        }
        // Over the owner's window, to the right of the control; floating
        // freely for an owner without a window.
        QWidget* anchor = palette.owner ? palette.owner->paletteParent() : nullptr;
        QWidget* parent = anchor ? anchor->window() : nullptr;
        auto* window = new PaletteWindow(kind, GetSchoolClass(), parent);
        const int offset = Index(kind) * (kPaletteWidth + 4);
        if (anchor) {
            const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width() + 4 + offset, 0));
            window->move(corner);
        } else {
            window->move(100 + offset, 100);
        }
        // A host window that takes the palette down with it: the owner hears
        // of it as when the palette is closed, and is forgotten.
        QObject::connect(window, &QObject::destroyed, [impl = m_impl.get(), kind] {
            IPaletteClient* owner = std::exchange(impl->palettes[Index(kind)].owner, nullptr);
            if (owner && owner->paletteParent()) {
                owner->toolsDialogClosed();
            }
        });
        palette.window = window;
        window->show();
        templatesMade = templatesMade || kind == PaletteKind::Templates;
    }
    return templatesMade;
}

void PaletteManager::hide()
{
    // Both windows go first; the owners hear of it afterwards, so that an
    // owner may show the palettes again from its handler.
    std::vector<IPaletteClient*> toTell;
    for (Impl::Palette& palette : m_impl->palettes) {
        QWidget* window = palette.window;
        if (!window) {
            continue;
        }
        palette.window = nullptr;
        IPaletteClient* owner = palette.owner;
        palette.owner = nullptr;
        m_impl->destroyWindow(window);
        if (owner && owner->paletteParent()) {
            toTell.push_back(owner);
        }
    }
    m_impl->pendingTells.push_back(&toTell);
    for (IPaletteClient* owner : toTell) {
        if (owner) {
            owner->toolsDialogClosed();
        }
    }
    m_impl->pendingTells.pop_back();
}

bool PaletteManager::isShown(PaletteKind kind) const
{
    return !m_impl->palettes[Index(kind)].window.isNull();
}

QWidget* PaletteManager::window(PaletteKind kind) const
{
    return m_impl->palettes[Index(kind)].window;
}

}  // namespace formula
