#include "app/WindowState.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "app/Settings.h"

namespace mk {
namespace {

const QString kGroup = QStringLiteral("Window");
const QString kGeometry = QStringLiteral("Geometry");
const QString kState = QStringLiteral("State");

void OpenAtDefaultSize(QMainWindow& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  window.resize(std::min(kDefaultWindowWidth, free.width() * 9 / 10),
                std::min(kDefaultWindowHeight, free.height() * 9 / 10));
  QRect frame = window.frameGeometry();
  frame.moveCenter(free.center());
  window.move(frame.topLeft());
}

}  // namespace

void RestoreWindowState(QMainWindow& window) {
  QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                     QString::fromLatin1(kSettingsApplication));
  settings.beginGroup(kGroup);
  const QByteArray geometry = settings.value(kGeometry).toByteArray();
  const QByteArray state = settings.value(kState).toByteArray();
  settings.endGroup();
  // restoreGeometry keeps a window on a screen that is still there, and shrinks it to fit.
  if (geometry.isEmpty() || !window.restoreGeometry(geometry)) OpenAtDefaultSize(window);
  if (!state.isEmpty()) window.restoreState(state);
}

void SaveWindowState(const QMainWindow& window) {
  QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                     QString::fromLatin1(kSettingsApplication));
  settings.beginGroup(kGroup);
  settings.setValue(kGeometry, window.saveGeometry());
  settings.setValue(kState, window.saveState());
  settings.endGroup();
}

}  // namespace mk
