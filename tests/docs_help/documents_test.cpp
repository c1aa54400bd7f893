// The document links, the picture and the help menu's text viewers on a desktop held in memory.
#include <gtest/gtest.h>

#include "docs_help/text_viewer.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using testing::WindowBench;

struct Documents : ::testing::Test {
  void SetUp() override { bench.loadConnectedWith(MenuId::X1228); }
  testing::FakeDesktop& desktop() { return bench.desktop; }
  void put(const std::string& path, const std::string& text = {}) { desktop().files[path] = text; }

  WindowBench bench;
};

TEST_F(Documents, LinksOpenTheSelectedModelsFilesUnderTheWorkingDirectoryFirst) {
  put("/home/user/docs/X1228.pdf");
  put("/usr/share/rtceval/docs/X1228.pdf");
  put("/usr/share/rtceval/docs/AN154.pdf");
  bench.window.datasheetLinkClicked();
  bench.window.noteLinkClicked(0);
  EXPECT_EQ(desktop().opened, (std::vector<std::string>{"/home/user/docs/X1228.pdf",
                                                        "/usr/share/rtceval/docs/AN154.pdf"}));
  EXPECT_TRUE(bench.messageBoxes.shown.empty());
}

TEST_F(Documents, IntroductionPrefersTheWebArchiveAndFallsBackToThePage) {
  put("/usr/share/rtceval/docs/X1228.html");
  bench.window.introLinkClicked();
  put("/usr/share/rtceval/docs/X1228.mht");
  bench.window.introLinkClicked();
  EXPECT_EQ(desktop().opened, (std::vector<std::string>{"/usr/share/rtceval/docs/X1228.html",
                                                        "/usr/share/rtceval/docs/X1228.mht"}));
}

TEST_F(Documents, AMissingFileNamesItsPathUnderTheWorkingDirectoryAndStartsNoViewer) {
  bench.window.noteLinkClicked(8);  // AN87
  bench.window.introLinkClicked();
  EXPECT_EQ(bench.shownTexts(),
            (std::vector<std::string>{"\"/home/user/docs/AN87.pdf\"文件没有找到",
                                      "\"/home/user/docs/X1228.mht\"文件没有找到"}));
  EXPECT_TRUE(desktop().opened.empty());
}

TEST_F(Documents, APathWithBlanksAndASemicolonReachesTheOpenerWhole) {
  desktop().working = "/home/user/my docs; rm -rf ~";
  put("/home/user/my docs; rm -rf ~/docs/X1228.pdf");
  bench.window.datasheetLinkClicked();
  EXPECT_EQ(desktop().opened,
            std::vector<std::string>{"/home/user/my docs; rm -rf ~/docs/X1228.pdf"});
}

TEST_F(Documents, AViewerThatCannotStartIsNamedByTheKindOfDocument) {
  desktop().viewerMissing = true;
  put("/home/user/docs/X1228.pdf");
  put("/home/user/docs/X1228.html");
  put("/home/user/docs/index.html");
  bench.window.datasheetLinkClicked();
  bench.window.introLinkClicked();
  bench.window.pictureClicked();
  EXPECT_EQ(bench.shownTexts(), (std::vector<std::string>{"Adobe Acrabat Reader wasn't Found!",
                                                          "Microsoft IExplore wasn't Found!",
                                                          "Microsoft IExplore wasn't Found!"}));
}

TEST_F(Documents, AnOpenerThatFindsNoViewerLaterIsAnsweredLikeOneThatCannotStart) {
  put("/home/user/docs/X1228.pdf");
  put("/home/user/docs/X1228.html");
  bench.window.datasheetLinkClicked();
  ASSERT_TRUE(desktop().lateNoViewer);
  EXPECT_TRUE(bench.shownTexts().empty());  // the opener started: nothing to say yet
  desktop().lateNoViewer();
  bench.window.introLinkClicked();
  desktop().lateNoViewer();
  EXPECT_EQ(bench.shownTexts(), (std::vector<std::string>{"Adobe Acrabat Reader wasn't Found!",
                                                          "Microsoft IExplore wasn't Found!"}));
}

TEST_F(Documents, HelpItemsOpenTheirViewerWithTheTextOnlyWhenTheFileIsThere) {
  bench.window.menuClick("IICS");
  EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{"\"/home/user/IIC.txt\"文件没有找到"});
  EXPECT_EQ(bench.window.OpenSubForm(), DialogHost::kNone);

  put("/usr/share/rtceval/IIC.txt", "void i2c_start(void);\n");
  put("/home/user/UM.txt", "使用说明\n");
  bench.window.menuClick("IICS");
  const auto* viewer = bench.window.dialogHost().current<TextViewer>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(bench.window.OpenSubForm(), 15);
  EXPECT_EQ(viewer->text(), "void i2c_start(void);\n");

  bench.window.menuClick("UM");
  viewer = bench.window.dialogHost().current<TextViewer>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_STREQ(viewer->caption(), "使用说明");
  EXPECT_EQ(viewer->text(), "使用说明\n");
}

}  // namespace
}  // namespace rtceval
