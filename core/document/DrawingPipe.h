#pragma once
// A canvas that hands every call on to another canvas on the second core, in order. A redraw
// with ids spends about as long walking the model and projecting its points as it spends
// setting pixels and writing labels; piped, the two overlap. The target sees exactly the calls,
// in exactly the order, it would have seen directly, so the picture is the same to the pixel.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/view/PenTrackingCanvas.h"

namespace mk {

class DrawingPipe : public PenTrackingCanvas {
 public:
  /// Draws on target on a thread of its own from now on; target must not be touched by anyone
  /// else until Finish. Where no thread can be started the calls go straight to target.
  explicit DrawingPipe(Canvas& target);
  /// Finishes, dropping any error of the target's.
  ~DrawingPipe() override;
  DrawingPipe(const DrawingPipe&) = delete;
  DrawingPipe& operator=(const DrawingPipe&) = delete;

  /// Waits until the target has had every call; passes on an error the target raised.
  void Finish();

  void SetPenColor(Rgb colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text, Rgb font_colour, int font_points) override;
  void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
  void BreakLine() override;

 private:
  enum class Kind : unsigned char { PenColour, Move, Line, Text, Fill, Break };
  struct Call {
    Kind kind;
    int a, b, c, d;  // the point, or the rectangle; a label's text offset and size in c, d
    Rgb colour;
    int font_points;
  };
  /// A run of calls with the texts of its labels.
  struct Batch {
    std::vector<Call> calls;
    std::string texts;
  };

  void Add(const Call& call);
  void Send();
  void Drain();
  void Replay(const Batch& batch);
  /// One call; a label's text is at its offset in texts.
  void Replay(const Call& call, std::string_view texts);

  Canvas& target_;
  std::unique_ptr<Batch> filling_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Batch>> queued_;  // oldest first, under mutex_
  std::vector<std::unique_ptr<Batch>> spare_;   // drawn batches for reuse, under mutex_
  bool closed_ = false;                         // under mutex_
  std::exception_ptr error_;                    // the drawing thread's, under mutex_
  std::thread drawer_;
  bool direct_ = false;
};

}  // namespace mk
