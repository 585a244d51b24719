#include "ui/DirectoryDialog.h"

#include "framework/CFileDialog.h"
#include "framework/DataExchange.h"
#include "registry/ProjectRecord.h"
#include "ui/ScriptFileFilter.h"
#include "res/resource.h"

const MessageMapEntry DirectoryDialog::kMessageEntries[] = {
    OnCommand(IDC_DIRECTORY_BROWSE, BN_CLICKED, &DirectoryDialog::OnBrowse),
};
const MessageMap DirectoryDialog::kMessageMap = {
    nullptr, kMessageEntries, sizeof kMessageEntries / sizeof kMessageEntries[0]};

const MessageMap* DirectoryDialog::GetMessageMap() const {
    return &kMessageMap;
}

DirectoryDialog::DirectoryDialog(ProjectRecord* record, CWnd* parent)
    : CDialog(IDD_DIRECTORY, parent), m_targetText(record->rcFile), m_newPathText(record->rcFile),
      m_record(record) {}

void DirectoryDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DIRECTORY_TARGET, m_targetText);
    DDV_MaxChars(pDX, m_targetText, kMaxPathText);
    DDX_Text(pDX, IDC_DIRECTORY_NEW, m_newPathText);
    DDV_MaxChars(pDX, m_newPathText, kMaxPathText);
}

void DirectoryDialog::OnBrowse() {
    CFileDialog dialog(TRUE, kScriptDefaultExtension, nullptr, OFN_HIDEREADONLY, kScriptFileFilter,
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    m_newPathText = dialog.GetPathName();
    UpdateData(FALSE);
}

void DirectoryDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    m_record->rcFile = m_newPathText;
    EndDialog(IDOK);
}
