#pragma once

#include "framework/CDialog.h"
#include "framework/CListCtrl.h"
#include "framework/CString.h"
#include "framework/LaunchOptions.h"
#include "registry/ProjectListView.h"

#include <shellapi.h>

#include <cstddef>

struct ProjectRecord;

// The one window of the program: the registered projects in a list, the current project's numbers
// below it. Every change of a number goes into the project's resource script at once. The rows
// own their records through their item data; the list is read from the INI file when the window
// opens and written back when it is destroyed.
class MainDialog : public CDialog, private ProjectListView {
public:
    explicit MainDialog(const LaunchOptions* launchOptions, CWnd* parent = nullptr);

    static constexpr UINT kTemplateId = 102;

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL DestroyWindow() override;
    // Brings an open help viewer back, or opens the help file beside the program.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Finds or registers the project of a script, puts it at the top, reads its version into it
    // and makes it current.
    void ApplyResourceScript(const CString& path);
    void CommitCurrentProject();
    void SelectProject(ProjectRecord* record);

    int FindRowByScript(const CString& path) const;
    int FindRowByRecord(const ProjectRecord* record) const;
    void InsertProjectRow(int index, ProjectRecord* record);
    void InsertProjectRowAtTop(ProjectRecord* record);
    ProjectRecord* RemoveProjectRow(int index);
    void MoveProjectRow(int index, ProjectRecord* record);

    void LoadProjectList();
    void SaveProjectList();

    // The window's title, by which other processes find it.
    static constexpr char kCaption[] = "Revtally";
    // The help viewer's window, closed with the program.
    static constexpr char kHelpWindowTitle[] = "Help For Revtally";

    ProjectRecord* GetCurrentProject() const { return m_currentProject; }
    CListCtrl& GetProjectList() { return m_projectList; }

protected:
    const MessageMap* GetMessageMap() const override;

    void OnClickProjectList(NMHDR* header, LRESULT* result);
    void OnHeaderNotify(NMHDR* header, LRESULT* result);
    void OnSize(UINT type, int width, int height);
    void OnShowWindow(BOOL show, UINT status);
    void OnMove(int x, int y);

    void OnChangeMajor();
    void OnChangeMinor();
    void OnChangeSub();
    void OnChangeBuild();
    void OnDeltaPosMajor(NMHDR* header, LRESULT* result);
    void OnDeltaPosMinor(NMHDR* header, LRESULT* result);
    void OnDeltaPosSub(NMHDR* header, LRESULT* result);
    void OnDeltaPosBuild(NMHDR* header, LRESULT* result);
    void OnMajorUp();
    void OnMinorUp();
    void OnSubUp();
    void OnBuildUp();

    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    LRESULT OnHandOffMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnTrayShow();

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnHistory();
    void OnAbout();

private:
    // ProjectListView, for the INI mapping.
    int GetRowCount() const override;
    ProjectRecord* GetRowRecord(int row) const override;
    void AppendProjectRow(ProjectRecord* record) override;
    void DetachRowRecord(int row) override;
    void InsertListColumn(int column, const char* title, int width) override;
    int FitColumnToTitle(int column) override;
    int GetListColumnWidth(int column) const override;
    int GetListColumnCount() const override;

    void OnNumberEdited(int ProjectRecord::*field, int MainDialog::*member);
    void OnNumberStepped(NMHDR* header, int ProjectRecord::*field, int MainDialog::*member);
    void RefreshProjectRow(const ProjectRecord* record);
    // The tray icon's record, the same for adding and deleting.
    void FillTrayIcon(NOTIFYICONDATAA& icon) const;
    void AddTrayIcon();
    // A hand-off record from another process, checked before it is trusted.
    void ApplyHandOff(const void* data, size_t size);

    ProjectRecord* m_currentProject = nullptr;
    CListCtrl m_projectList;
    CString m_nameText;
    CString m_directoryText;
    CString m_lastUpdateText;
    int m_build = 0;
    int m_major = 0;
    int m_minor = 0;
    int m_sub = 0;
    HICON m_hIcon;
    const LaunchOptions* m_launchOptions;
    BOOL m_firstShow = TRUE;

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};
