#pragma once

#include "base/CString.h"
#include "framework/CDialog.h"
#include "framework/CListCtrl.h"
#include "registry/ProjectList.h"
#include "registry/WindowSettings.h"
#include "ui/TrayDialog.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The one window of the program: the registered projects in a list, the current project's numbers
// below it. Every change of a number goes into the project's resource script at once. The list
// is read from the INI file when the window opens and written back when it is destroyed; each row
// shows one record of m_projects, in the same order.
class MainDialog : public TrayDialog {
public:
    // trayMode: started with the tray switch, to live in the notification area.
    explicit MainDialog(bool trayMode, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL DestroyWindow() override;
    // Where every help request of the program ends: brings an open help viewer back, or opens
    // the help file beside the program.
    void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
    void DoDataExchange(CDataExchange* pDX) override;

    // Finds or registers the project of a script, puts it at the top, reads its version into it
    // and makes it current.
    void ApplyResourceScript(const CString& path);
    void CommitCurrentProject();
    void SelectProject(ProjectRecord* record);

    int FindRowByScript(const CString& path) const { return m_projects.FindRowByScript(path); }
    int FindRowByRecord(const ProjectRecord* record) const {
        return m_projects.FindRowByRecord(record);
    }
    // Takes the project out of the list and its row out of the view.
    std::unique_ptr<ProjectRecord> RemoveProjectRow(int index);

    // Reads the INI file. One that is there but cannot be read is never written over: the window
    // opens with no projects and says so once it runs.
    void LoadProjectList();
    // Writes the list, the column widths and where the window was moved to the INI file, all at
    // once. A write that fails is told with Retry and Cancel, unless Windows is ending. With
    // releaseRecords the projects are let go as well (the window is going away).
    void SaveProjectList(bool releaseRecords = true);

    ProjectRecord* GetCurrentProject() const { return m_currentProject; }
    CListCtrl& GetProjectList() { return m_projectList; }

protected:
    const MessageMap* GetMessageMap() const override;

    void OnClickProjectList(NMHDR* header, LRESULT* result);
    void OnMove(int x, int y);

    void OnChangeNumber(UINT editId);
    void OnDeltaPosNumber(NMHDR* header, LRESULT* result);
    // "Mejor Up", "Minor Up", "Sub Up" and "Build Up" (the spelling is the window's own, as
    // its users know it).
    void OnUpButton(UINT buttonId);

    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    LRESULT OnHandOffMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    // Posted by the initialisation: the INI file could not be read.
    LRESULT OnProfileUnread(WPARAM wParam, LPARAM lParam);
    // The dialog manager scales the controls and the font; the column widths are the list's own.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnSysCommand(UINT id, LPARAM lParam);

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnHistory();
    void OnAbout();
    // The help command: the Help buttons, the tray menu's help and F1.
    void OnHelp();
    // The tray menu's exit.
    void OnAppExit();

private:
    // One of the four numbers: its edit and up-down control, and where its value lives.
    struct NumberField {
        int editId;
        int spinId;
        int VersionNumber::*field;
        int MainDialog::*member;
    };
    static const NumberField kNumberFields[4];

    // The members and the current record take the same new numbers; then the fields and the
    // script follow.
    void ChangeNumbers(VersionNumber numbers);
    VersionNumber Members() const { return {m_major, m_minor, m_sub, m_build}; }
    void SetMembers(const VersionNumber& v) {
        m_major = v.major;
        m_minor = v.minor;
        m_sub = v.sub;
        m_build = v.build;
    }
    // A project read or written, and the headers that define its numbers (none: its script).
    void NoteFollowedHeaders(ProjectRecord& record, std::vector<CString> headers);
    // A project selected for the first time: its numbers from its headers, if they stand there.
    void ReadFollowed(ProjectRecord& record);
    // The other noted projects that follow into one of the headers read again, their rows too.
    void RereadSharing(const std::vector<CString>& headers);
    // One message per project and failure streak, and never while a build waits on the window.
    void ReportFailedWrite(const CString& reason);

    ProjectRecord* m_currentProject = nullptr;
    CListCtrl m_projectList;
    CString m_nameText;
    CString m_directoryText;
    CString m_lastUpdateText;
    int m_build = 0;
    int m_major = 0;
    int m_minor = 0;
    int m_sub = 0;
    // The dots per inch the column widths are at.
    UINT m_dpi = 0;

    ProjectList m_projects;
    // Where the INI file had the window when it opened (the file itself is not kept: with many
    // projects it would be most of the window's memory).
    window_settings::Position m_positionAtStart{};
    // Where the user last put the window, written with the list.
    std::optional<window_settings::Position> m_movedTo;
    // Why the INI file could not be read when the window opened; empty when it was read.
    std::wstring m_profileUnread;
    // Windows is ending the session: the list is saved without asking anything.
    bool m_sessionEnding = false;
    // Each project read or written in this session, with the headers that define its numbers
    // (none for a script that holds them): the rows a change of those headers shows in. Never
    // saved.
    std::map<ProjectRecord*, std::vector<CString>> m_followedHeaders;
    // The project whose failed write the user was last told of; none once a write succeeds.
    const ProjectRecord* m_failureReported = nullptr;

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};
