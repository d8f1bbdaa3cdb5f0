#pragma once
// Which ends of a spline lie on the plane X=0: this decides how its mirror image joins it.

namespace mk {

enum class PlaneEnds {
  /// Neither end: the mirror image becomes a spline of its own (a twin).
  None,
  /// Only the first end: the image runs into it from the other half and the spline grows there.
  First,
  /// Only the last end: the image continues the spline from there.
  Last,
  /// Both ends: the image continues from the last end and closes through the first.
  Both,
};

inline PlaneEnds PlaneEndsOf(bool first_on_plane, bool last_on_plane) {
  if (first_on_plane) return last_on_plane ? PlaneEnds::Both : PlaneEnds::First;
  return last_on_plane ? PlaneEnds::Last : PlaneEnds::None;
}

/// True when the end is shared by both halves and gets no mirror copy.
inline bool FirstEndOnPlane(PlaneEnds ends) {
  return ends == PlaneEnds::First || ends == PlaneEnds::Both;
}
inline bool LastEndOnPlane(PlaneEnds ends) {
  return ends == PlaneEnds::Last || ends == PlaneEnds::Both;
}

}  // namespace mk
