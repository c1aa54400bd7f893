// The menu bar the main window derives from its own items and the windows' rows: every item in
// its menu, at its place, with its objectName and caption.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

TEST(Menus, EveryItemStandsInItsMenuInOrderWithItsNameAndCaption) {
  struct Item {
    const char* name;
    const char* caption;
    const char* parent;  // "" for a top menu
  };
  const Item expected[] = {
      {"MDEVICE", "(&D)器件", ""},
      {"X1226", "X1226", "MDEVICE"},
      {"X1227", "X1227", "MDEVICE"},
      {"X1228", "X1228", "MDEVICE"},
      {"X1205", "X1205", "MDEVICE"},
      {"X1208", "X1208", "MDEVICE"},
      {"X1209", "X1209", "MDEVICE"},
      {"MCOMM", "(&C)命令", ""},
      {"CONNECT", "手动连接", "MCOMM"},
      {"READTIME", "读取时间", "MCOMM"},
      {"SETTIME", "设置时间", "MCOMM"},
      {"STATUS", "状态控制", "MCOMM"},
      {"MFUNCTION", "(&F)功能", ""},
      {"mINT", "中断", "MFUNCTION"},
      {"ALARM1", "报警 0", "MFUNCTION"},
      {"ALARM2", "报警 1", "MFUNCTION"},
      {"FOUT", "频率输出", "MFUNCTION"},
      {"mEVENT", "事件", "MFUNCTION"},
      {"WDT", "看门狗", "MFUNCTION"},
      {"BP", "页保护", "MFUNCTION"},
      {"DTR", "数字微调", "MFUNCTION"},
      {"ATR", "模拟微调", "MFUNCTION"},
      {"MEMORY", "存储器", "MFUNCTION"},
      {"USERREG", "用户寄存器", "MFUNCTION"},
      {"MTOOLS", "(&T)工具", ""},
      {"LINEMONITOR", "通信监视", "MTOOLS"},
      {"ACCURACY", "走时精度测量", "MTOOLS"},
      {"SNAPSHOT", "寄存器快照", "MTOOLS"},
      {"MHELP", "(&H)帮助", ""},
      {"UM", "使用说明", "MHELP"},
      {"IICS", "IIC源程序", "MHELP"},
      {"AN", "应用笔记", "MHELP"},
      {"MABOUT", "关于", "MHELP"},
  };
  WindowBench b;
  const std::vector<MenuControl>& menus = b.controls().menus;
  ASSERT_EQ(menus.size(), std::size(expected));
  for (std::size_t i = 0; i < menus.size(); ++i) {
    const MenuControl& m = menus[i];
    SCOPED_TRACE(expected[i].name);
    EXPECT_STREQ(m.name, expected[i].name);
    EXPECT_STREQ(m.caption, expected[i].caption);
    EXPECT_EQ(m.parent ? b.controls().menu(*m.parent).name : std::string(), expected[i].parent);
  }
}

}  // namespace
}  // namespace rtceval::testing
