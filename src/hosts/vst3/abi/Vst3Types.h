#pragma once
#include <cstdint>

// Scalar types, result codes and constants of the VST 3 binary interface
// (64-bit Linux and Windows). Only the VST 3 bridge includes these files.
namespace vst3 {

using int8 = char;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;
using TBool = std::uint8_t;
using tresult = std::int32_t;
using char8 = char;
using char16 = char16_t;
using TChar = char16_t;
using String128 = TChar[128];
using FIDString = const char*;
using ParamID = std::uint32_t;
using ParamValue = double;
using MediaType = std::int32_t;
using BusDirection = std::int32_t;
using BusType = std::int32_t;
using IoMode = std::int32_t;
using UnitID = std::int32_t;
using ProgramListID = std::int32_t;
using CtrlNumber = std::int16_t;
using TSamples = std::int64_t;
using TQuarterNotes = double;
using SampleRate = double;
using Sample32 = float;
using Sample64 = double;
using SpeakerArrangement = std::uint64_t;

#if defined(_WIN32)
#define VST3_API __stdcall
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultTrue = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
inline constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
inline constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
inline constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
inline constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
inline constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
#define VST3_API
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultTrue = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = -1;
inline constexpr tresult kInvalidArgument = 2;
inline constexpr tresult kNotImplemented = 3;
inline constexpr tresult kInternalError = 4;
inline constexpr tresult kNotInitialized = 5;
inline constexpr tresult kOutOfMemory = 6;
#endif

enum MediaTypes : int32 { kAudio = 0, kEvent = 1 };
enum BusDirections : int32 { kInput = 0, kOutput = 1 };
enum BusTypes : int32 { kMain = 0, kAux = 1 };
enum BusFlags : uint32 { kDefaultActive = 1, kIsControlVoltage = 2 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };

inline constexpr uint32 kNoTail = 0;
inline constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;
inline constexpr UnitID kRootUnitId = 0;
inline constexpr UnitID kNoParentUnitId = -1;
inline constexpr ProgramListID kNoProgramListId = -1;
inline constexpr ParamID kNoParamId = 0xFFFFFFFFu;

enum ParameterFlags : int32 {
    kNoParameterFlags = 0,
    kCanAutomate = 1,
    kIsReadOnly = 2,
    kIsWrapAround = 4,
    kIsList = 8,
    kIsHidden = 16,
    kIsProgramChange = 0x8000,
    kIsBypass = 0x10000,
};

enum RestartFlags : int32 {
    kReloadComponent = 1,
    kIoChanged = 2,
    kParamValuesChanged = 4,
    kLatencyChanged = 8,
    kParamTitlesChanged = 16,
};

enum ProcessContextStates : uint32 {
    kPlaying = 2,
    kCycleActive = 4,
    kRecording = 8,
    kSystemTimeValid = 256,
    kProjectTimeMusicValid = 512,
    kTempoValid = 1024,
    kBarPositionValid = 2048,
    kCycleValid = 4096,
    kTimeSigValid = 8192,
};

enum ProcessContextRequirementFlags : uint32 {
    kNeedProjectTimeMusic = 4,
    kNeedBarPositionMusic = 8,
    kNeedCycleMusic = 16,
    kNeedTempo = 64,
    kNeedTimeSignature = 128,
    kNeedTransportState = 1024,
};

enum EventTypes : uint16 { kNoteOnEvent = 0, kNoteOffEvent = 1, kDataEvent = 2 };

enum ControllerNumbers : int16 { kAfterTouch = 128, kPitchBend = 129, kCountCtrlNumber = 130 };

enum FactoryFlags : int32 { kFactoryNoFlags = 0, kUnicode = 16 };
inline constexpr int32 kManyInstances = 0x7FFFFFFF;

enum SeekModes : int32 { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };

namespace SpeakerArr {
inline constexpr SpeakerArrangement kEmpty = 0;
inline constexpr SpeakerArrangement kMono = 0x80000;
inline constexpr SpeakerArrangement kStereo = 0x3;
inline constexpr SpeakerArrangement k51 = 0x3F;
inline constexpr SpeakerArrangement k71Music = 0x63F;
}  // namespace SpeakerArr

inline constexpr const char* kVstAudioEffectClass = "Audio Module Class";
inline constexpr const char* kEditorViewType = "editor";
inline constexpr const char* kPlatformTypeHWND = "HWND";
inline constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

}  // namespace vst3
