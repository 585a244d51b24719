#pragma once

#include "framework/CDialog.h"
#include "base/CString.h"

struct ProjectRecord;

// Changes the resource-script path of a registered project. Only the path changes: the name,
// folder, numbers and history location stay as they were.
class DirectoryDialog : public CDialog {
public:
    DirectoryDialog(ProjectRecord* record, CWnd* parent = nullptr);

    // Bytes of ANSI text each path field holds at most.
    static constexpr int kMaxPathText = 240;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

protected:
    const MessageMap* GetMessageMap() const override;
    void OnBrowse();

private:
    CString m_targetText;
    CString m_newPathText;
    ProjectRecord* m_record;

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};
