#pragma once
// The tolerance the dock report suggests, from the distances of the model's points from the
// plane X=0 as read.
//
// The rule: the seam cluster is made of the spline ends nearer the plane than three tolerances
// (the reach of the near misses), taken from the nearest outward as long as each next one lies
// no further than one tolerance beyond the last taken. The clear body is every free point
// further out than the cluster's farthest end. The suggestion is the farthest end rounded up to
// two significant digits (more when that would reach the body's nearest point), so that the
// cluster snaps and the body stays. Points exactly on the plane need no tolerance and are left
// out; with no spline end in reach there is no suggestion.

#include <limits>
#include <optional>
#include <vector>

namespace mk {

class ToleranceAdvisor {
 public:
  explicit ToleranceAdvisor(double tolerance) : tolerance_(tolerance) {}

  /// The distance from the plane of a free point, as read, before any snap.
  void NoteEnd(double distance) { Note(distance, ends_); }
  void NoteInner(double distance) { Note(distance, inner_); }

  std::optional<double> Suggest() const;

 private:
  void Note(double distance, std::vector<double>& near) {
    if (distance <= 0) return;
    if (distance < reach()) {
      near.push_back(distance);
    } else if (distance < beyond_) {
      beyond_ = distance;
    }
  }
  double reach() const;

  double tolerance_;
  std::vector<double> ends_;   // within reach
  std::vector<double> inner_;  // within reach
  double beyond_ = std::numeric_limits<double>::infinity();  // nearest point out of reach
};

/// The smallest number of two significant digits (or more, up to 17, when needed to stay at or
/// below limit) that is greater than above; limit itself when no such number fits.
double RoundedUpAbove(double above, double limit);

}  // namespace mk
