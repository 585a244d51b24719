// The message map's control id ranges, and what becomes of an exception inside a handler: a real
// dialog of the program's templates, driven in this process.
#include "framework/CDialog.h"
#include "res/resource.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {
// The directory dialog's template: two edits, 1025 and 1026, and a button, 1027.
class RangeProbe : public CDialog {
public:
    RangeProbe() : CDialog(IDD_DIRECTORY) {}
    std::vector<UINT> m_changed;

    static const MessageMapEntry kMessageEntries[];
    static const MessageMap kMessageMap;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

private:
    void OnEditChanged(UINT id) { m_changed.push_back(id); }
    void OnBrowse() { throw std::runtime_error("the handler failed"); }
};
const MessageMapEntry RangeProbe::kMessageEntries[] = {
    OnCommandRange(IDC_DIRECTORY_TARGET, IDC_DIRECTORY_NEW, EN_CHANGE, &RangeProbe::OnEditChanged),
    OnCommand(IDC_DIRECTORY_BROWSE, BN_CLICKED, &RangeProbe::OnBrowse),
};
const MessageMap RangeProbe::kMessageMap = {nullptr, kMessageEntries, 2};

TEST(MessageMap, RangesTakeEveryIdFromFirstToLastAndNoOther) {
    const MessageMapEntry* range = &RangeProbe::kMessageEntries[0];
    const MessageMap* map = &RangeProbe::kMessageMap;
    for (UINT id : {IDC_DIRECTORY_TARGET, IDC_DIRECTORY_NEW})
        EXPECT_EQ(FindMessageEntry(map, WM_COMMAND, id, EN_CHANGE), range) << id;
    EXPECT_EQ(FindMessageEntry(map, WM_COMMAND, IDC_DIRECTORY_TARGET - 1, EN_CHANGE), nullptr);
    EXPECT_EQ(FindMessageEntry(map, WM_COMMAND, IDC_DIRECTORY_BROWSE, EN_CHANGE), nullptr);
    EXPECT_EQ(FindMessageEntry(map, WM_COMMAND, IDC_DIRECTORY_NEW, EN_KILLFOCUS), nullptr);

    RangeProbe dialog;
    ASSERT_TRUE(dialog.Create());
    SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_DIRECTORY_NEW, "x");
    SetDlgItemTextA(dialog.GetSafeHwnd(), IDC_DIRECTORY_TARGET, "y");
    uitest::PumpMessages();
    EXPECT_EQ(dialog.m_changed, (std::vector<UINT>{IDC_DIRECTORY_NEW, IDC_DIRECTORY_TARGET}));
    dialog.DestroyWindow();
}

TEST(MessageMap, AnExceptionInAHandlerIsToldOnceAndTheWindowGoesOn) {
    uitest::ReportedExceptions().clear();
    RangeProbe dialog;
    ASSERT_TRUE(dialog.Create());
    SendMessageA(dialog.GetDlgItem(IDC_DIRECTORY_BROWSE), BM_CLICK, 0, 0);
    uitest::PumpMessages();
    EXPECT_EQ(uitest::ReportedExceptions(), std::vector<std::string>{"the handler failed"});
    EXPECT_TRUE(IsWindow(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}
} // namespace
