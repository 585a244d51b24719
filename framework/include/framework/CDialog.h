#pragma once

#include "framework/CWnd.h"
#include "framework/MessageMap.h"

class CDataExchange;

// A dialog made from a dialog template of the program's resources. DoModal runs it in a modal loop
// of its own; Create makes it modeless. Messages reach the handlers of the class's message map;
// the framework's own commands it does not handle go on to the main window. This class alone talks
// to the dialog manager: it keeps the object in DWLP_USER, answers through DWLP_MSGRESULT, and
// catches every exception before it could reach the window procedure's caller.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Modeless: the window is created hidden (whatever the template says) and shown by the caller.
    BOOL Create();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL DestroyWindow();
    virtual void DoDataExchange(CDataExchange* pDX);

    // Towards the controls (FALSE) or back into the members with validation (TRUE). While it runs,
    // notifications from the controls are ignored, so refilling a field never looks like typing.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result);

protected:
    virtual const MessageMap* GetMessageMap() const { return nullptr; }
    // Called by a handler that wants the dialog manager's own processing of its message too.
    void Default() { m_wantsDefault = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The message, handled or not; *result is what the dialog manager is told.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool CallHandler(const MessageMapEntry& entry, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND CreateFromTemplate(HWND owner);
    void RunModalLoop();

    UINT m_templateId;
    CWnd* m_parent;
    bool m_inModalLoop = false;
    bool m_exchanging = false;
    bool m_wantsDefault = false;
    INT_PTR m_modalResult = -1;
};
