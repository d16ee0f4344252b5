#include "platform/system/mci.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/paths/paths.h"

namespace sys {

namespace {

struct Device {
    std::string name;
    Mix_Music* music = nullptr;
};

struct Registry {
    std::vector<Device> devices;
    std::string sounding;  // the device that owns the mixer's music stream
    bool audioOpen = false;
};

// Never destroyed: the audio thread may outlive static destruction at exit.
Registry& Reg() {
    static Registry* r = new Registry;
    return *r;
}

Device* Find(const std::string& name) {
    auto& d = Reg().devices;
    auto it = std::find_if(d.begin(), d.end(), [&](const Device& x) { return x.name == name; });
    return it == d.end() ? nullptr : &*it;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && Lower(s.substr(s.size() - suffix.size())) == suffix;
}

// The mixer and its decoders (some fifty libraries) are loaded on the first
// sound, not with the program: a start without sound does not wait for them.
struct Mixer {
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_SetSoundFonts) SetSoundFonts = nullptr;
    decltype(&Mix_PlayingMusic) PlayingMusic = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    bool loaded = false;
};

template <class F>
bool Resolve(void* lib, const char* name, F& f) {
    f = reinterpret_cast<F>(::dlsym(lib, name));
    return f != nullptr;
}

// Null when the libraries cannot be loaded: the device driver is missing.
// Loaded once and kept, as the audio thread may outlive static destruction.
const Mixer* Mix() {
    static Mixer m;
    static bool tried = false;
    if (!tried) {
        tried = true;
        void* sdl = ::dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        void* mixer = sdl ? ::dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL) : nullptr;
        m.loaded = mixer && Resolve(sdl, "SDL_InitSubSystem", m.InitSubSystem) &&
                   Resolve(sdl, "SDL_QuitSubSystem", m.QuitSubSystem) && Resolve(mixer, "Mix_Init", m.Init) &&
                   Resolve(mixer, "Mix_OpenAudio", m.OpenAudio) &&
                   Resolve(mixer, "Mix_SetSoundFonts", m.SetSoundFonts) &&
                   Resolve(mixer, "Mix_PlayingMusic", m.PlayingMusic) && Resolve(mixer, "Mix_LoadMUS", m.LoadMUS) &&
                   Resolve(mixer, "Mix_PlayMusic", m.PlayMusic) && Resolve(mixer, "Mix_HaltMusic", m.HaltMusic) &&
                   Resolve(mixer, "Mix_FreeMusic", m.FreeMusic);
    }
    return m.loaded ? &m : nullptr;
}

void UseGeneralMidiSoundfont(const Mixer& mix) {
    if (const char* env = std::getenv("SDL_SOUNDFONTS"); env && *env) return;
    std::error_code ec;
    for (const char* sf : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2"}) {
        if (std::filesystem::is_regular_file(sf, ec)) {
            mix.SetSoundFonts(sf);
            return;
        }
    }
}

bool EnsureAudio() {
    auto& r = Reg();
    if (r.audioOpen) return true;
    const Mixer* mix = Mix();
    if (!mix) return false;
    UseGeneralMidiSoundfont(*mix);
    if (mix->InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    mix->Init(MIX_INIT_MP3 | MIX_INIT_MID);  // formats it cannot add fail later, at loading
    if (mix->OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        mix->QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    r.audioOpen = true;
    return true;
}

// A device exists only once the audio is open, and with it the mixer.
bool Sounding(const std::string& name) { return Reg().sounding == name && Mix()->PlayingMusic(); }

// SDL_mixer takes any file named .mid and only fails when it plays it; the
// multimedia system refuses a MIDI file without its header and a track at open.
bool LooksLikeBrokenMidi(const std::filesystem::path& file) {
    std::string ext = Lower(file.extension().string());
    std::ifstream in(file, std::ios::binary);
    char head[22] = {};
    in.read(head, sizeof head);
    const auto got = in.gcount();
    const bool midiHeader = got >= 4 && std::string(head, 4) == "MThd";
    if (!midiHeader && ext != ".mid" && ext != ".midi") return false;
    if (!midiHeader || got < 22) return true;
    const auto u = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(head[i])); };
    const uint32_t headerLength = u(4) << 24 | u(5) << 16 | u(6) << 8 | u(7);
    if (headerLength < 6 || headerLength > 1024) return true;
    char track[4] = {};
    in.seekg(8 + headerLength);
    in.read(track, 4);
    return in.gcount() != 4 || std::string(track, 4) != "MTrk";
}

int Open(const std::string& name) {
    if (Find(name)) return mci::kDeviceAlreadyOpen;
    const auto native = ToNativePath(name);
    std::error_code ec;
    if (!native || !std::filesystem::is_regular_file(*native, ec)) return mci::kFileNotFound;
    if (LooksLikeBrokenMidi(*native)) return mci::kInvalidFile;
    if (!EnsureAudio()) return mci::kCannotLoadDriver;
    Mix_Music* music = Mix()->LoadMUS(native->c_str());
    if (!music) return mci::kInvalidFile;
    Reg().devices.push_back({name, music});
    return mci::kOk;
}

int Play(const std::string& name) {
    if (!Find(name))
        if (int rc = Open(name); rc != mci::kOk) return rc;
    if (Sounding(name)) return mci::kOk;
    if (Mix()->PlayMusic(Find(name)->music, 0) != 0) return mci::kHardware;
    Reg().sounding = name;
    return mci::kOk;
}

int Stop(const std::string& name) {
    if (!Find(name)) return mci::kDeviceNotOpen;
    if (Reg().sounding == name) {
        Mix()->HaltMusic();
        Reg().sounding.clear();
    }
    return mci::kOk;
}

int Close(const std::string& name) {
    Device* d = Find(name);
    if (!d) return mci::kDeviceNotOpen;
    Stop(name);
    Mix()->FreeMusic(d->music);
    auto& all = Reg().devices;
    all.erase(all.begin() + (d - all.data()));
    return mci::kOk;
}

}  // namespace

int mciSendString(const std::string& command) {
    const auto start = command.find_first_not_of(' ');
    if (start == std::string::npos) return mci::kMissingCommand;
    const auto verbEnd = command.find(' ', start);
    const std::string verb = Lower(command.substr(start, verbEnd - start));
    std::string rest = verbEnd == std::string::npos ? std::string() : command.substr(verbEnd);

    if (verb == "open" && EndsWithNoCase(rest, " type sequencer")) rest.resize(rest.size() - 15);
    const auto nameStart = rest.find_first_not_of(' ');
    const std::string name = nameStart == std::string::npos ? std::string() : rest.substr(nameStart);

    int (*op)(const std::string&) = nullptr;
    if (verb == "open") op = Open;
    else if (verb == "play") op = Play;
    else if (verb == "stop") op = Stop;
    else if (verb == "close") op = Close;
    else return mci::kUnrecognizedCommand;
    if (name.empty()) return mci::kMissingDeviceName;
    return op(name);
}

std::vector<std::string> MciOpenDevices() {
    std::vector<std::string> names;
    for (const auto& d : Reg().devices) names.push_back(d.name);
    return names;
}

bool MciIsOpen(const std::string& device) { return Find(device) != nullptr; }

bool MciIsPlaying(const std::string& device) { return Find(device) && Sounding(device); }

void MciCloseAll() {
    while (!Reg().devices.empty()) Close(Reg().devices.front().name);
}

}  // namespace sys
