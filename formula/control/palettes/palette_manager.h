#pragma once
// The two floating tool palettes of the formula control (templates, and
// functions) and the process-wide manager that owns them. The palettes are
// shared by every control of the process; their commands go to one owner at
// a time: the control that last took the focus or asked to show them.
//
// All calls on the user-interface thread.
#include <memory>

class QWidget;

namespace formula {

// What a control offers the palettes.
class IPaletteClient {
public:
    virtual ~IPaletteClient() = default;
    // A palette button was clicked: insert the command (a LexType id, as
    // CFormulaEnv::InsertTool takes it).
    virtual void insertTool(int toolId) = 0;
    // The control's widget once a host has placed it, else null. A control
    // without a window is told nothing when a palette closes, and palettes
    // it shows float without a parent.
    virtual QWidget* paletteParent() = 0;
    // A palette window this control owned was destroyed (called once per
    // palette, only while paletteParent() is not null).
    virtual void toolsDialogClosed() = 0;
};

enum class PaletteKind { Templates, Functions };

class PaletteWindow;

class PaletteManager {
public:
    static PaletteManager& instance();

    // Makes the client the owner of both palettes (focus taken, or palettes
    // shown); the previous owner is dropped. Null clears the owner.
    void setOwner(IPaletteClient* client);
    // The client is being destroyed: it is forgotten wherever it is owner,
    // with no event. Call from the control's destructor.
    void ownerGone(IPaletteClient* client);
    // The owner of one palette (null when none).
    IPaletteClient* owner(PaletteKind kind) const;

    // Shows the chosen palettes: one whose window exists only stays;
    // otherwise its window is made for the current school class and shown,
    // over the owner's window. The caller makes itself the owner first
    // (setOwner). True when the template palette had to be made.
    bool show(bool templates = true, bool functions = true);
    // Destroys every palette window that exists; each fires
    // toolsDialogClosed on an owner with a window and forgets its owner.
    void hide();
    // Whether a palette's window exists.
    bool isShown(PaletteKind kind) const;
    // The palette's window while it exists (for tests and screenshots).
    QWidget* window(PaletteKind kind) const;

    PaletteManager(const PaletteManager&) = delete;
    PaletteManager& operator=(const PaletteManager&) = delete;

private:
    PaletteManager();
    ~PaletteManager();
    friend class PaletteWindow;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace formula
