// The multimedia command strings of the program ("open <path> type sequencer",
// "play <path>", "stop <path>", "close <path>") played through SDL2_mixer.
//
// A device is named by the file's full Windows-style path: everything between
// the command word and the end of the command (for "open", up to a closing
// " type sequencer"), blanks included and without quotation marks. Nothing is
// ever passed to a shell. mp3, MIDI (FluidSynth with the General MIDI
// soundfont) and wave files all open as "type sequencer".
//
// "play" of a device that is not open opens it first, as the multimedia system
// does for a file name, so a file plays even when its "open" was skipped.
// "play" of a device that is already sounding leaves it sounding; otherwise it
// starts from the beginning. Only one file sounds at a time: playing another
// device silences the one that sounded before (both stay open).
//
// The audio system starts on the first command that needs it (SDL's audio
// subsystem; SDL_AUDIODRIVER=dummy plays silently in real time).
#pragma once

#include <string>
#include <vector>

namespace sys {

namespace mci {
inline constexpr int kOk = 0;
inline constexpr int kUnrecognizedCommand = 261;
inline constexpr int kHardware = 262;
inline constexpr int kDeviceNotOpen = 263;      // the device is not open or not known
inline constexpr int kDeviceAlreadyOpen = 265;  // the name is already in use
inline constexpr int kCannotLoadDriver = 266;   // no audio output could be opened
inline constexpr int kMissingCommand = 267;
inline constexpr int kFileNotFound = 275;
inline constexpr int kMissingDeviceName = 292;
inline constexpr int kInvalidFile = 296;  // not a sound file that can be played
}  // namespace mci

// Sends one command; 0 on success, else one of the codes above.
int mciSendString(const std::string& command);

// The open devices in the order they were opened.
std::vector<std::string> MciOpenDevices();
bool MciIsOpen(const std::string& device);
// True while the device's file is sounding (false once it has played to its end).
bool MciIsPlaying(const std::string& device);
// Closes every open device (at program end and between tests).
void MciCloseAll();

}  // namespace sys
