// The register reference pages the build renders to docs/<model>.pdf.
#include <gtest/gtest.h>

#include "core/device_profile.h"
#include "docs_help/register_reference.h"

namespace rtceval {
namespace {

std::string pageOf(const char* model) {
  const DeviceModel* m = findDeviceModel(model);
  EXPECT_NE(m, nullptr) << model;
  return m ? registerReferenceHtml(*m) : std::string();
}

bool has(const std::string& page, const std::string& part) {
  return page.find(part) != std::string::npos;
}

TEST(RegisterReference, LayoutAModelNamesItsRegistersBitsAndUnlockSteps) {
  const std::string page = pageOf("X1228");
  EXPECT_TRUE(has(page, "<h1>X1228寄存器说明</h1>"));
  // SR at 0x003F on layout A, bit 7 first: BAT, AL1, AL0.
  EXPECT_TRUE(has(page, "<td><b>SR</b></td><td>0x003F</td><td>0x0007</td><td>BAT</td><td>AL1</td>"))
      << page;
  EXPECT_TRUE(has(page, "<td><b>INT</b></td><td>0x0011</td>"));
  EXPECT_TRUE(has(page, "写WEL：SR = 0x02"));
  EXPECT_TRUE(has(page, "写RWEL：SR = 0x06"));
  EXPECT_FALSE(has(page, "用户寄存器</td>"));
}

TEST(RegisterReference, LayoutBModelUnlocksWithWrtcAndListsUserRegisters) {
  const std::string page = pageOf("X1209");
  EXPECT_TRUE(has(page, "<td><b>SR</b></td><td>0x003F</td><td>0x0007</td><td>ARST</td>")) << page;
  EXPECT_TRUE(has(page, "写WRTC"));
  EXPECT_FALSE(has(page, "写RWEL"));
  EXPECT_TRUE(has(page, "用户寄存器</td>"));
  EXPECT_TRUE(has(page, "SR.WRTC："));
}

}  // namespace
}  // namespace rtceval
