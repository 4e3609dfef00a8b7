#include "startup/lifecycle_steps.h"

namespace zv {
namespace {

using S = StartStep;
const StepInfo<StartStep> kStart[] = {
    {S::seedAndHooks, "seed the random generator, tool-window style, message hook, exception logger", ""},
    {S::configMode, "configuration in the user's file", "setConfigMode"},
    {S::positionAndImages, "position bar range 0, bitmap MAIN", ""},
    {S::priority, "main thread above normal", ""},
    {S::plugins, "plug-ins and the vis, winampvis, insampler instances", "initPlugins startPlugin"},
    {S::streamReset, "no stream, no played file", ""},
    {S::outputSettings, "outParams and dspData", "configRec outSetParams outSetEqualizer outGetEqualizer"},
    {S::playIntent, "autoStart, switches play and stop", "configBool"},
    {S::settings, "sequencing and display settings, visData", "configBool configInt configRec"},
    {S::exePath, "ExePath in the registry", ""},
    {S::skin, "the skin", "configString"},
    {S::createPlaylists, "current, favourites and recent playlists", "createPlaylist"},
    {S::broadcastFilters, "7024 7025 7027 7028", "addBroadcastFilter"},
    {S::mainThread, "Main thread", "debugAddThread"},
    {S::mixer, "equalizer source, mixer entries, master volume", "openMixer findLine findCtl getVolume getMute"},
    {S::timer, "timer2", "configRec"},
    {S::tray, "tray hints and icons", ""},
    {S::showWindow, "title, appearance, Topmost, show", ""},
    {S::loadingCaption, "Loading...", ""},
    {S::loadPlaylist, "playlist.dat", "plLoad plClear plAddLine"},
    {S::cdCheck, "lines of changed discs", "getCDId plDelBranch"},
    {S::commandLine, "the command line's items as one open operation", "plInsFile"},
    {S::reindex, "save and re-index", "plSave plSortIndex"},
    {S::resumeLine, "curFileN", "configInt"},
    {S::favorites, "favorite.m3u", "plLoad setDesc queryInfo"},
    {S::recent, "recent.dat", "plLoad"},
    {S::helpAndEditors, "help callbacks, drop target, playlist editors", ""},
    {S::reopenWindows, "open_eq open_ds open_info open_setup open_cddb open_timer", "configBool"},
    {S::about, "seenAbout", "configBool setConfigBool"},
};

using D = ShutdownStep;
const StepInfo<ShutdownStep> kShutdown[] = {
    {D::trayIcons, "tray buttons, then the main tray icon", "delTrayIcon"},
    {D::savePlaylist, "playlist.dat and curFileN", "plSave setConfigInt"},
    {D::mixerAndTimer, "mixer, timer2, equalizer", "closeMixer setConfigRec"},
    {D::windowPosition, "window position of the state", "setConfigInt"},
    {D::saveEditors, "playlist editors, hide all windows", ""},
    {D::freeWindows, "free the windows, last first", ""},
    {D::windowFlags, "open_* flags", "setConfigBool"},
    {D::freePlaylists, "current, favourites, recent", "freePlaylist"},
    {D::freePlugins, "plug-ins", "freePlugins"},
    {D::pendingTags, "pending tag writes", "id3v2DoBatch"},
};

}  // namespace

std::span<const StepInfo<StartStep>> startSteps() { return kStart; }
std::span<const StepInfo<ShutdownStep>> shutdownSteps() { return kShutdown; }

}  // namespace zv
