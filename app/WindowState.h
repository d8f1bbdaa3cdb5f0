#pragma once
// Where the main window was and how big, and whether the report panel was open: restored at
// start, saved at exit, beside the program's other settings.

class QMainWindow;

namespace mk {

/// The size a window opens at when nothing is remembered: room for two useful views.
inline constexpr int kDefaultWindowWidth = 1000;
inline constexpr int kDefaultWindowHeight = 650;

/// Restores the remembered geometry and dock state; without them (or when they no longer fit a
/// screen) opens at the default size, centred, never larger than the screen's free area.
void RestoreWindowState(QMainWindow& window);
void SaveWindowState(const QMainWindow& window);

}  // namespace mk
