// Actions: one command (caption, enabled, checked, image, handler) shared by the controls
// linked to it.  A control links through an action link, which tells it when the action's
// properties change and runs the action when the control is clicked.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Controls.h"

class TBasicAction;
class TCustomActionList;
class TCustomImageList;

// A client's tie to one action.  The action keeps a list of its links: a change of the
// action calls OnChange, and a freed action leaves its links with no action.
class TBasicActionLink {
public:
    explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
    virtual ~TBasicActionLink();
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TObject* Client() const { return FClient; }
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    // Runs the action for Target; false when there is no action or it did not run.
    virtual bool Execute(TComponent* Target = nullptr);

    // Called with the action after any of its properties changed.
    std::function<void(TBasicAction* Sender)> OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

    TObject* FClient;
    TBasicAction* FAction = nullptr;
};

// A command with an execute handler.
class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TBasicAction() override;

    // Runs OnExecute; true when it ran.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);

protected:
    // Tells every link that the action changed.
    void Change();

private:
    std::vector<TBasicActionLink*> FClients;
};

// An action with the properties controls take over: caption, hint, enabled, visible,
// checked and an image of its action list's image list.  A disabled action does not run.
class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* AOwner = nullptr) : TBasicAction(AOwner) {}
    ~TCustomAction() override;

    bool Execute() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);
    // The action list's images, or null.
    TCustomImageList* Images() const;

private:
    friend class TCustomActionList;
    String FCaption, FHint;
    bool FEnabled = true, FVisible = true, FChecked = false;
    int FImageIndex = -1;
    TCustomActionList* FActionList = nullptr;
};

// A set of actions sharing one image list.  The list does not own its actions.
class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ActionCount() const { return int(FActions.size()); }
    TCustomAction* Actions(int Index) const { return FActions.at(size_t(Index)); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomAction;
    void ChangeAll();
    TCustomImageList* FImages = nullptr;
    std::vector<TCustomAction*> FActions;
};

// A control's link: the control's action-change handler runs with CheckDefaults false
// whenever the action changes.
class TControlActionLink : public TBasicActionLink {
public:
    using TActionChange = std::function<void(TBasicAction* Sender, bool CheckDefaults)>;
    TControlActionLink(TControl* AClient, TActionChange AOnActionChange);

    // Links (or, with a null action, unlinks) a control: the link is made on first use,
    // and the control's action-change handler runs once at once (CheckDefaults while the
    // action is loading, so a stored control keeps its own values).
    static void Assign(std::unique_ptr<TControlActionLink>& Link, TControl* AClient, TBasicAction* Value,
                       TActionChange AOnActionChange);

private:
    TActionChange FOnActionChange;
};

// What every linked control takes from a TCustomAction: caption, hint, enabled and visible.
// With CheckDefaults a value is taken only where the control still has its default
// (empty caption and hint, enabled, visible).
void ApplyActionToControl(TControl* Control, TBasicAction* Sender, bool CheckDefaults);
// The image list of a TCustomAction whose ImageIndex lies inside it, else null.
TCustomImageList* ActionImages(TBasicAction* Sender);

// The click path of a control with an action link: a click handler of its own that is not
// the action's execute handler runs instead of the action; otherwise a linked action runs
// (not while designing); otherwise the click handler.  Two handlers count as the same when
// they are the same function or the same kind of callable (one lambda expression).
void ClickWithAction(TControl* Sender, const TNotifyEvent& OnClick, TBasicActionLink* Link);
bool SameHandler(const TNotifyEvent& A, const TNotifyEvent& B);
