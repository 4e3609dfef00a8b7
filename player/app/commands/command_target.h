// The command set as an interface the main window implements: one handler per
// command, each empty until the window gives it a body, so a command whose
// window does not exist yet does nothing. The table in command_table.cpp maps
// every command text onto these handlers.
#pragma once
#include "commands/command.h"

namespace zv {

struct CommandTarget {
  virtual ~CommandTarget() = default;
  using C = const ResolvedCommand&;
  // Windows and the tray.
  virtual void show(C) {}
  virtual void hideAll(C) {}
  virtual void rollUp(C) {}
  virtual void minimize(C) {}
  virtual void close(C) {}
  virtual void onTop(C) {}
  virtual void hideConsole(C) {}
  // Menus: "l1menu", "l2menu", "favmenu" and the built ones ("toolsmenu", ...);
  // the command's name is the menu's name.
  virtual void listMenu(C) {}
  virtual void popupMenu(C) {}
  // Opening items: "open:"/"open2:"/"open3:" (OpenMode 0), "repl:" (8),
  // "enq:" (1), "enqstart:" (3); openModeOf gives the mode.
  virtual void openItem(C) {}
  virtual void openFile(C) {}
  virtual void openDir(C) {}
  // Sequencing.
  virtual void prevFile(C) {}
  virtual void nextFile(C) {}
  virtual void prevGroup(C) {}
  virtual void nextGroup(C) {}
  virtual void play(C) {}
  virtual void play2(C) {}
  virtual void stop(C) {}
  virtual void stop2(C) {}
  virtual void fadePlay(C) {}
  virtual void fadeStop(C) {}
  virtual void togglePlay(C) {}
  virtual void fadeTogglePlay(C) {}
  virtual void rewind(C) {}   // argument: seconds
  virtual void forward(C) {}  // argument: seconds
  // Settings: "loop1", "loop2", "shuffle" (argument: the suffix),
  // "group_*" (groupModeOf gives the value).
  virtual void switchSetting(C) {}
  virtual void groupMode(C) {}
  virtual void volume(C) {}  // "volup", "voldown"
  virtual void skin(C) {}    // argument: the skin name
  virtual void vis(C) {}     // "vis:" name "," number
  virtual void display(C) {} // "_vis:", "_cfg:", "_scope", ... of the display menu
  // Other windows: "info", "eq", "timer", "setup", "cddb", "debug", "about".
  virtual void toolWindow(C) {}
  virtual void newPlaylistEditor(C) {}
  virtual void editPlaylist(C) {}
  virtual void editCurrentPlaylist(C) {}
  virtual void editDirectory(C) {}
  virtual void editItem(C) {}
  // Favourites.
  virtual void addFavoriteDir(C) {}
  virtual void addFavoriteFile(C) {}
  virtual void deleteFavorite(C) {}
  // Documentation: "help", and "readme", "history", "website", "mailto".
  virtual void help(C) {}
  virtual void document(C) {}
  virtual void notAvailable(C) {}
};

}  // namespace zv
