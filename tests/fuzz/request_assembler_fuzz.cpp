// The board's request assembler on bytes in any split, with time passing between them. The same
// bytes at the same times must come out as the same requests and faults whether they arrive in
// the input's chunks or one by one; every request it accepts must stand on the line as a whole
// frame (55 00 N payload sum) whose bytes came no more than 100 ms apart; a frame under way must
// time out on the millisecond after its 100 ms, not before. Input format: fuzz_input.h,
// request_assembler.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "sim/board/request_assembler.h"

using namespace rtceval;
using namespace rtceval::fuzz;
using namespace rtceval::fuzz::request_assembler;
using rtceval::sim::BoardStatus;
using rtceval::sim::ReceivedFrame;
using rtceval::sim::RequestAssembler;

namespace {

constexpr std::int64_t kGapMs = 100;

bool same(const std::vector<ReceivedFrame>& a, const std::vector<ReceivedFrame>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].fault != b[i].fault || a[i].payload != b[i].payload) return false;
  return true;
}

bool isFramingFault(BoardStatus s) {
  return s == BoardStatus::BadChecksum || s == BoardStatus::BadLeadByte ||
         s == BoardStatus::BadFlagByte || s == BoardStatus::FrameTooLong ||
         s == BoardStatus::FrameTimeout;
}

// The line as the byte-by-byte assembler saw it, for checking each request it accepts.
struct Line {
  std::vector<std::uint8_t> bytes;
  std::vector<std::int64_t> times;

  // The request just completed by the last byte must be the frame that ends there.
  void checkRequest(const ReceivedFrame& r) const {
    const std::size_t n = r.payload.size();
    check(n <= 33, "a request holds at most 33 payload bytes");
    check(bytes.size() >= n + 4, "a request stands on the line as a whole frame");
    const std::size_t first = bytes.size() - (n + 4);
    check(bytes[first] == 0x55 && bytes[first + 1] == 0x00 && bytes[first + 2] == n,
          "a request starts with 55 00 and its length");
    for (std::size_t i = 0; i < n; ++i)
      check(bytes[first + 3 + i] == r.payload[i], "a request's payload is the line's bytes");
    check(sumOf(std::span(bytes).subspan(first, n + 3)) == bytes.back(),
          "a request ends with its sum");
    for (std::size_t i = first + 1; i < bytes.size(); ++i)
      check(times[i] - times[i - 1] <= kGapMs, "a request's bytes came no more than 100 ms apart");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  RequestAssembler chunked;
  RequestAssembler single;
  std::vector<ReceivedFrame> fromChunks;
  std::vector<ReceivedFrame> fromBytes;
  Line line;
  std::int64_t now = 0;

  const auto keep = [](std::vector<ReceivedFrame>& all, std::vector<ReceivedFrame> more) {
    for (ReceivedFrame& f : more) {
      check(f.fault == BoardStatus::Ok || (isFramingFault(f.fault) && f.payload.empty()),
            "the assembler reports a request or a framing fault");
      all.push_back(std::move(f));
    }
  };
  const auto arrive = [&](std::span<const std::uint8_t> bytes) {
    keep(fromChunks, chunked.feed(bytes, now));
    if (bytes.empty()) keep(fromBytes, single.feed(bytes, now));
    for (std::uint8_t b : bytes) {
      line.bytes.push_back(b);
      line.times.push_back(now);
      std::vector<ReceivedFrame> out = single.feed(std::span(&b, 1), now);
      for (const ReceivedFrame& f : out)
        if (f.fault == BoardStatus::Ok) line.checkRequest(f);
      keep(fromBytes, std::move(out));
    }
  };

  while (!in.empty()) {
    const std::uint8_t h = in.next();
    const std::uint8_t arg = h & 0x3F;
    switch (static_cast<Op>(h >> 6)) {
      case Op::Chunk:
        arrive(in.take(arg));
        break;
      case Op::Sealed: {
        const auto bytes = in.take(arg);
        std::vector<std::uint8_t> frame(bytes.begin(), bytes.end());
        frame.push_back(sumOf(frame));
        arrive(frame);
        break;
      }
      case Op::Wait:
        now += arg * 5;
        break;
      case Op::Poll: {
        // A frame under way lasts until 100 ms after its last byte and times out just after.
        if (const auto due = chunked.deadline()) {
          check(!line.bytes.empty() && *due == line.times.back() + kGapMs + 1,
                "the time-out falls due on the millisecond after 100 ms of silence");
          RequestAssembler early = chunked;
          check(!early.poll(*due - 1), "no time-out before it is due");
        }
        if (auto timedOut = chunked.poll(now)) fromChunks.push_back(std::move(*timedOut));
        if (auto timedOut = single.poll(now)) fromBytes.push_back(std::move(*timedOut));
        break;
      }
    }
    check(same(fromChunks, fromBytes), "a split changes nothing the board makes of the bytes");
    check(chunked.deadline() == single.deadline(), "a split changes no deadline");
  }
  return 0;
}
