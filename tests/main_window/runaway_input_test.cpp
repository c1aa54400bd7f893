// A device that streams while "接收缓冲区溢出" stands: the box opens after the receive handler has
// returned, so the handler goes on taking the bytes meanwhile and the port holds no more than a
// piece or two; and one box stands for the condition however often it recurs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

TEST(RunawayInput, AStreamingDeviceIsDrainedWhileTheOverflowBoxStandsAndAskedOnce) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  // Five bytes every 2 ms that never make a frame (the length byte promises 259 bytes).
  const Bytes piece{0x00, 0x00, 0xFF, 0x00, 0x00};
  auto stream = b.clock.createTimer();
  stream->setInterval(2ms);
  stream->setTickHandler([&] { b.port.receive(piece); });
  stream->setEnabled(true);
  b.messageBoxes.whileOpen = [&] {
    b.messageBoxes.whileOpen = nullptr;
    b.clock.advance(2000ms);  // the box stands for two seconds of streaming
    stream->setEnabled(false);
  };
  b.clock.advance(500ms);

  EXPECT_EQ(b.shownTexts(), std::vector<std::string>{"接收缓冲区溢出"});
  EXPECT_LE(b.port.maxHeld, 2 * piece.size());
}

}  // namespace
}  // namespace rtceval::testing
