// Forms, the application object and the screen.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Controls.h"

class TMainMenu;
class TMenu;
class TMenuItem;
class THintWindow;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    // Ends construction of a form built in code: Loaded on every component, then OnCreate.
    void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle V);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons V);
    // Kept only, as the control's help context.
    const String& HelpFile() const { return FFormHelpFile; }
    void SetHelpFile(const String& V) { FFormHelpFile = V; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle V);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition V) { FPosition = V; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState V);
    bool Active() const { return FActive; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* V);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool V) { FKeyPreview = V; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* V);
    // The menu item that lists an MDI main form's children (not owned).
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* V) { FWindowMenu = V; }
    // MDI: an fsMDIForm holds its children in its client window, a child window of its
    // client area covering what its aligned controls leave; an fsMDIChild is a child
    // window of the main form's client window, activated among its siblings.
    HWND ClientHandle() const { return FClientHandle; }
    // The part of the client area the client window covers: what the visible controls
    // aligned to its edges leave.
    TRect MDIClientRect();
    int MDIChildCount() const { return int(FMDIChildren.size()); }
    TCustomForm* MDIChildren(int I) const { return FMDIChildren.at(size_t(I)); }
    TCustomForm* ActiveMDIChild() const { return FActiveMDIChild; }
    // Activates the MDI child after the active one (in creation order, wrapping).
    void Next();
    void Previous();
    // Makes Child the active MDI child: brought to the top of its siblings, told by
    // WM_NCACTIVATE and given the focus while the main form is active.
    void MDIActivate(TCustomForm* Child);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult V) { FModalResult = V; }
    TFormState FormState() const { return FFormState; }
    TObject* Icon() const { return FIcon; }
    void SetIcon(TObject* V) { FIcon = V; }

    void Show();
    void Hide();
    void Close();
    void Release();  // frees the form once the current message is done
    virtual TModalResult ShowModal();
    void MouseWheelHandler(TMessage& Message) override;  // to the focused control first
    bool CloseQuery();
    void FocusControl(TWinControl* Control);
    bool SetFocusedControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);
    bool IsShortCut(TMessage& Message);
    void ControlRemoved(TControl* C);

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    void Dispatch(TMessage& Message) override;
    void WndProc(TMessage& Message) override;
    bool CanFocus() const override { return Visible() && Enabled(); }
    void SetFocus() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    void SetWindowFocus();
    void SetActive(bool V);
    void ApplyPosition();
    void SetVisibleState(bool V);
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void DestroyWnd() override;
    // The main form whose client window holds this MDI child, or none.
    TCustomForm* MDIParentForm() const;
    void CreateMDIClient();
    void PlaceMDIClient();
    void AddMDIChild(TCustomForm* Child);
    void RemoveMDIChild(TCustomForm* Child);

    void WMActivate(TMessage& M);
    void WMClose(TMessage& M);
    void WMSysCommand(TMessage& M);
    void WMShowWindow(TMessage& M);
    void CMDialogKey(TMessage& M);
    void WMSetFocusForm(TMessage& M);

    TFormBorderStyle FBorderStyle = bsSizeable;
    String FFormHelpFile;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TRect FRestoreBounds;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FKeyPreview = false;
    TMainMenu* FMenu = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    HWND FClientHandle = nullptr;
    std::vector<TCustomForm*> FMDIChildren;
    TCustomForm* FActiveMDIChild = nullptr;
    TModalResult FModalResult = mrNone;
    TFormState FFormState;
    TObject* FIcon = nullptr;
    friend class TApplication;
    friend class TScreen;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    int ReshowTimeout = 0, HideTimeout = 0;
    String HintStr;
};

// A small popup window that shows one hint text.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    virtual void ActivateHint(TRect Rect, const String& AHint);
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    void ReleaseHandle() { DestroyHandle(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
};
using THintWindowClass = std::function<THintWindow*(TComponent* Owner)>;

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    String Title() const { return FTitle; }
    void SetTitle(const String& V) { FTitle = V; }
    String HelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& V) { FHelpFile = V; }
    String ExeName() const;
    TCustomForm* MainForm() const { return FMainForm; }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool V) { FMainFormOnTaskBar = V; }
    TObject* Icon() const { return FIcon; }
    void SetIcon(TObject* V) { FIcon = V; }
    bool Terminated() const { return FTerminated; }
    // Creates a form owned by the application; the first becomes the main form.
    template <class T>
    T* CreateForm(T** Reference = nullptr)
    {
        T* F = new T(this);
        if (Reference) *Reference = F;
        F->AfterConstruction();
        if (!FMainForm) FMainForm = F;
        return F;
    }
    void Run();
    void Terminate();
    void ProcessMessages();
    void HandleMessage();
    bool ProcessMessage(TMsg& Msg);
    void Minimize();
    void Restore();
    void HandleException(TObject* Sender, Exception* E = nullptr);
    void ShowException(Exception* E);
    void CancelHint();
    void ActivateHint(TPoint CursorPos);
    void HideHint();
    THintWindow* HintWindow() const { return FHintWindow; }
    void SetHintWindowClass(THintWindowClass C);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool V);
    int HintPause = 500, HintShortPause = 50, HintHidePause = 2500;
    TColor HintColor = clInfoBk;

    TMessageEvent OnMessage;
    // Message filters of components (menus, the ribbon, the form frame): each sees every
    // message taken from the queue before OnMessage and the dispatch, the newest first;
    // one that sets Handled (or clears the message number) stops the message there.
    // Each is added and removed under its owner's identity, so components that hook the
    // loop in any order never undo each other's filter.  Adding under an owner that has
    // a filter replaces it in place.
    void AddMessageFilter(const void* Owner, TMessageEvent Filter);
    void RemoveMessageFilter(const void* Owner);
    bool HasMessageFilter(const void* Owner) const;
    TNotifyEvent OnRestore, OnMinimize, OnIdle, OnActivate, OnDeactivate;
    TShowHintEvent OnShowHint;
    TExceptionEvent OnException;

    // plumbing used by the controls
    TControl* CaptureControl() const { return FCaptureControl; }
    void SetCaptureControl(TControl* C);
    TControl* MouseControl() const { return FMouseControl; }
    void UpdateMouseControl();
    void ControlDestroyed(TControl* C);
    void ControlRemoved(TControl* C);
    void HintMouseMessage(TControl* Control, TMessage& M);
    void FormDestroyed(TCustomForm* F);
    HWND Handle();

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    bool IsKeyMsg(TMsg& Msg);
    bool IsHintMsg(TMsg& Msg);
    void MouseMoved(HWND Under, TPoint Screen);
    void SetMouseControl(TControl* C);
    void HintTimerTick();

    String FTitle, FHelpFile;
    TCustomForm* FMainForm = nullptr;
    bool FMainFormOnTaskBar = false;
    TObject* FIcon = nullptr;
    bool FTerminated = false;
    TControl* FCaptureControl = nullptr;
    TControl* FMouseControl = nullptr;
    THintWindow* FHintWindow = nullptr;
    THintWindowClass FHintWindowClass;
    bool FShowHint = true;
    TControl* FHintControl = nullptr;
    bool FHintActive = false;
    HWND FHandle = nullptr;
    int FHandleExceptionDepth = 0;
    struct TMessageFilterEntry {
        const void* Owner;
        std::shared_ptr<TMessageEvent> Filter;
    };
    std::vector<TMessageFilterEntry> FMessageFilters;
    bool RunMessageFilters(TMsg& Msg);
    friend class TCustomForm;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int I) const { return FForms.at(size_t(I)); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor V);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    TRect WorkAreaRect() const;
    int MonitorCount() const { return GetSystemMetrics(SM_CMONITORS); }
    TNotifyEvent OnActiveFormChange, OnActiveControlChange;

    // plumbing
    void AddForm(TCustomForm* F);
    void RemoveForm(TCustomForm* F);
    void FormToFront(TCustomForm* F);
    void SetActiveForm(TCustomForm* F);
    void SetActiveControl(TWinControl* C);

private:
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;
// Creates Application and Screen when they do not exist yet.
void InitForms();
// Frees every form, Application and Screen (tests and program exit).
void DoneForms();

// The platform's message box: a small modal form with the text, a warning icon and OK.
constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20,
               MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30, MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;
int MessageBox(HWND Wnd, const String& Text, const String& Caption, UINT Type);
