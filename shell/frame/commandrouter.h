#pragma once
// Commands: every ribbon element, menu entry and accelerator sends a
// command id, and one router hands it to the first target that handles
// it, in this order: the active view, the active project's document, the
// main frame, the application.
//
// A target registers what it handles:
//
//     target.OnCommand(cmd::kEditCopy, [this] { Copy(); },
//                      [this](CCmdUI& ui) { ui.Enable(HasSelection()); });
//     target.OnUpdate(cmd::kStatusPane1, [](CCmdUI& ui) { ui.SetText(...); });
//     target.OnCommandRange(cmd::kLookFirst, cmd::kLookLast, [this](int id) { SetLook(id); });
//
// The update handler (optional) gives the command's state: enabled,
// checked or radio mark, and text. A command with a handler and no update
// handler is enabled. A command that no target claims is disabled, so
// elements whose handlers come later show greyed until a target claims
// them; with a project open every control's command has its handler (the
// ids and who reaches them: platform/commandids.h). Update handlers run
// when the program is idle (CMainFrame), once per element and pass; they
// must be cheap and must not ask the system (see
// CUiServices::ClipboardFormats).
//
// Input the user gave and has not confirmed yet (text typed into a ribbon
// box) is taken before any command runs, as leaving the box would take it:
// whatever the screen shows is what a command such as Save works on.
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// The state an update handler fills in for one command.
class CCmdUI {
public:
    explicit CCmdUI(int id = 0) : m_id(id) {}

    int GetID() const { return m_id; }
    void Enable(bool on = true) { m_enabled = on; }
    // Check box or check mark: 0 off, 1 on.
    void SetCheck(int state) { m_checked = state != 0; }
    // Radio mark (shown like a check on ribbon buttons).
    void SetRadio(bool on = true) { m_checked = on; m_radio = true; }
    void SetText(const QString& text) { m_text = text; }

    bool IsEnabled() const { return m_enabled; }
    std::optional<bool> GetChecked() const { return m_checked; }
    bool IsRadio() const { return m_radio; }
    const std::optional<QString>& GetText() const { return m_text; }

private:
    int m_id;
    bool m_enabled = true;
    std::optional<bool> m_checked;
    bool m_radio = false;
    std::optional<QString> m_text;
};

// Something that handles commands: a view, a document, the frame, the
// application.
class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(int id)>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    virtual ~CCmdTarget() = default;

    // Registers the handler (and optionally the update handler) of `id`;
    // a later registration replaces an earlier one.
    void OnCommand(int id, Handler handler, UpdateHandler update = {});
    // One handler for the ids first..last.
    void OnCommandRange(int first, int last, RangeHandler handler, UpdateHandler update = {});
    // An update handler alone: the command is claimed (state from the
    // handler) without anything to run, as for status panes.
    void OnUpdate(int id, UpdateHandler update);
    void RemoveCommand(int id);

    // Whether this target claims the command.
    bool HandlesCommand(int id) const;
    // Every id this target claims, in increasing order.
    std::vector<int> CommandIds() const;
    // Runs the handler; false when this target does not claim `id`.
    virtual bool OnCmdMsg(int id);
    // Fills `ui` when this target claims its command; false otherwise.
    virtual bool OnUpdateCmdUI(CCmdUI& ui);

private:
    struct Entry {
        RangeHandler handler;
        UpdateHandler update;
    };
    const Entry* find(int id) const;
    std::map<int, Entry> m_entries;
};

// Hands commands along the chain of targets.
class CCommandRouter {
public:
    // Each provider answers the current target of its link (may be null);
    // asked anew for every command, so the chain follows activation.
    using Provider = std::function<CCmdTarget*()>;
    void SetActiveViewProvider(Provider provider) { m_view = std::move(provider); }
    void SetDocumentProvider(Provider provider) { m_document = std::move(provider); }
    void SetFrameTarget(CCmdTarget* target) { m_frame = target; }
    void SetApplicationTarget(CCmdTarget* target) { m_app = target; }

    // The targets in routing order (nulls left out).
    std::vector<CCmdTarget*> Chain() const;

    // Runs the command's handler in the first target that claims it;
    // false when none does.
    bool Route(int id);
    // Like Route, but only when the command's update state is enabled, as
    // for accelerators and menu entries.
    bool Execute(int id);
    // The state of a command: from the first target claiming it, disabled
    // when none does.
    CCmdUI Update(int id) const;

    // What takes the user's unconfirmed input (the ribbon's boxes); run
    // first by Route and Execute, and by whatever is about to end a project
    // or the program.
    void SetPendingInputHandler(std::function<void()> handler) { m_pendingInput = std::move(handler); }
    void ApplyPendingInput();

private:
    bool routeNow(int id);

    Provider m_view;
    Provider m_document;
    CCmdTarget* m_frame = nullptr;
    CCmdTarget* m_app = nullptr;
    std::function<void()> m_pendingInput;
    bool m_applyingInput = false; // the input's own commands run meanwhile
};
