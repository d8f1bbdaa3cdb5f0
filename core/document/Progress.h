#pragma once
// The progress bar that docking advances. The program shows it in the progress dialog; the CLI
// and the tests pass none.

namespace mk {

class ProgressBar {
 public:
  virtual ~ProgressBar() = default;
  virtual void SetPosition(int position) = 0;
};

/// Sets the position when there is a bar.
inline void Advance(ProgressBar* bar, int position) {
  if (bar) bar->SetPosition(position);
}

}  // namespace mk
