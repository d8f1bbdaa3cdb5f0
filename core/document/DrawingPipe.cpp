#include "core/document/DrawingPipe.h"

#include <system_error>
#include <utility>

namespace mk {
namespace {

/// Calls per batch: large enough that handing a batch over is rare, small enough that the
/// drawing starts soon and a few batches in flight stay in the cache.
constexpr std::size_t kCallsPerBatch = 8192;
/// Batches waiting at most: the walk never runs far ahead of the drawing, so a huge model's
/// redraw holds a few batches, not the whole drawing.
constexpr std::size_t kBatchesInFlight = 4;

}  // namespace

DrawingPipe::DrawingPipe(Canvas& target)
    : PenTrackingCanvas(target.PenPos()), target_(target), filling_(std::make_unique<Batch>()) {
  filling_->calls.reserve(kCallsPerBatch);
  try {
    drawer_ = std::thread([this] { Drain(); });
  } catch (const std::system_error&) {
    direct_ = true;
  }
}

DrawingPipe::~DrawingPipe() {
  try {
    Finish();
  } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor cannot pass it on
  }
}

void DrawingPipe::Add(const Call& call) {
  if (direct_) {
    Replay(call, {});
    return;
  }
  filling_->calls.push_back(call);
  if (filling_->calls.size() >= kCallsPerBatch) Send();
}

void DrawingPipe::Send() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queued_.size() < kBatchesInFlight || error_; });
  if (error_) {  // nothing more is drawn; Finish passes the error on
    filling_->calls.clear();
    filling_->texts.clear();
    return;
  }
  queued_.push_back(std::move(filling_));
  if (spare_.empty()) {
    filling_ = std::make_unique<Batch>();
    filling_->calls.reserve(kCallsPerBatch);
  } else {
    filling_ = std::move(spare_.back());
    spare_.pop_back();
  }
  lock.unlock();
  changed_.notify_all();
}

void DrawingPipe::Drain() {
  for (;;) {
    std::unique_ptr<Batch> batch;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !queued_.empty() || closed_; });
      if (queued_.empty()) return;
      batch = std::move(queued_.front());
      queued_.erase(queued_.begin());
    }
    changed_.notify_all();
    try {
      Replay(*batch);
    } catch (...) {
      // The rest of the drawing is dropped; Finish passes the error on.
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
      queued_.clear();
      closed_ = true;
      changed_.notify_all();
      return;
    }
    batch->calls.clear();
    batch->texts.clear();
    std::lock_guard lock(mutex_);
    spare_.push_back(std::move(batch));
  }
}

void DrawingPipe::Finish() {
  if (!drawer_.joinable()) return;
  {
    std::unique_lock lock(mutex_);
    if (!filling_->calls.empty() && !error_) queued_.push_back(std::move(filling_));
    closed_ = true;
  }
  changed_.notify_all();
  drawer_.join();
  direct_ = true;  // any later call goes straight to the target
  std::lock_guard lock(mutex_);
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void DrawingPipe::Replay(const Batch& batch) {
  for (const Call& call : batch.calls) Replay(call, batch.texts);
}

void DrawingPipe::Replay(const Call& call, std::string_view texts) {
  switch (call.kind) {
    case Kind::PenColour:
      target_.SetPenColor(call.colour);
      break;
    case Kind::Move:
      target_.MoveTo(call.a, call.b);
      break;
    case Kind::Line:
      target_.LineTo(call.a, call.b);
      break;
    case Kind::Text:
      target_.TextOut(
          call.a, call.b,
          texts.substr(static_cast<std::size_t>(call.c), static_cast<std::size_t>(call.d)),
          call.colour, call.font_points);
      break;
    case Kind::Fill:
      target_.FillRect(call.a, call.b, call.c, call.d, call.colour);
      break;
    case Kind::Break:
      target_.BreakLine();
      break;
  }
}

void DrawingPipe::SetPenColor(Rgb colour) { Add({Kind::PenColour, 0, 0, 0, 0, colour, 0}); }

void DrawingPipe::MoveTo(int x, int y) {
  SetPen(x, y);
  Add({Kind::Move, x, y, 0, 0, 0, 0});
}

void DrawingPipe::LineTo(int x, int y) {
  SetPen(x, y);
  Add({Kind::Line, x, y, 0, 0, 0, 0});
}

void DrawingPipe::TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) {
  if (direct_) {
    Replay({Kind::Text, x, y, 0, static_cast<int>(text.size()), font_colour, font_points}, text);
    return;
  }
  const auto offset = static_cast<int>(filling_->texts.size());
  filling_->texts.append(text);
  Add({Kind::Text, x, y, offset, static_cast<int>(text.size()), font_colour, font_points});
}

void DrawingPipe::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  Add({Kind::Fill, left, top, right, bottom, colour, 0});
}

void DrawingPipe::BreakLine() { Add({Kind::Break, 0, 0, 0, 0, 0, 0}); }

}  // namespace mk
