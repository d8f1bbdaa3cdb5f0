// Warning texts as the status line and the CLI show them.

#include <gtest/gtest.h>

#include "core/document/Warnings.h"

namespace mk {
namespace {

TEST(DockWarning, NamesTheIdsOfACycle) {
  const DockWarning w{DockWarning::Kind::AttachCycle, {3, 7}, {}};
  EXPECT_EQ(w.Message(Language::English), "Warning: attachments form a cycle (cpid 3, 7)");
  EXPECT_EQ(w.Message(Language::Japanese), "警告: アタッチが循環しています (cpid 3, 7)");
}

TEST(DockWarning, LongCycleListsAreShortened) {
  DockWarning w{DockWarning::Kind::AttachCycle, {}, {}};
  for (int i = 1; i <= 25; ++i) w.ids.push_back(i);
  const std::string text = w.Message(Language::English);
  EXPECT_NE(text.find("19, 20 and 5 more)"), std::string::npos) << text;
  EXPECT_EQ(text.find("21"), std::string::npos);
}

TEST(DockWarning, UnwritableReportNamesTheFile) {
  const DockWarning w{DockWarning::Kind::AttachReportUnwritable, {}, "attach_err.txt"};
  EXPECT_EQ(w.Message(Language::English), "Warning: cannot write attach_err.txt");
}

}  // namespace
}  // namespace mk
