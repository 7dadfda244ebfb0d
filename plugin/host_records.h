#pragma once
// Fixed-layout records that the host and the plug-in exchange about the current functional run
// and its maps. Both sides compile this header, so the layouts are checked here once.

#include <cstddef>
#include <cstdint>

// Header of the current functional run, filled by the host. Only the named fields are the
// plug-in's to read; every other byte belongs to the host.
struct FMRHeader {
    char FilePath[304];  // NUL-terminated path of the run's document: at most 303 characters
    std::int32_t NrOfVolumes;
    std::int32_t DimX;
    std::int32_t DimY;
    std::int32_t DimZ;
    unsigned char hostReserved1[36];
    std::int32_t DataType;  // 2: time courses stored as 32-bit floats
    unsigned char hostReserved2[808];
};

static_assert(sizeof(FMRHeader) == 1168);
static_assert(offsetof(FMRHeader, NrOfVolumes) == 0x130);
static_assert(offsetof(FMRHeader, DimX) == 0x134);
static_assert(offsetof(FMRHeader, DimY) == 0x138);
static_assert(offsetof(FMRHeader, DimZ) == 0x13C);
static_assert(offsetof(FMRHeader, DataType) == 0x164);

// Data type code of float time courses in FMRHeader::DataType.
inline constexpr std::int32_t kFloatTimeCourses = 2;

// Header of one map of the current run: filled by the host for the newest map, handed back with
// the plug-in's settings.
struct MapHeader {
    std::int32_t DimX;
    std::int32_t DimY;
    std::int32_t DimZ;
    std::int32_t MapType;  // 0: tSNR and adjusted R², 4: F
    float LowerThreshold;
    float UpperThreshold;
    unsigned char hostReserved1[4];
    std::int32_t ClearedSetting;
    std::int32_t DF1;
    std::int32_t DF2;
    unsigned char hostReserved2[24];
};

static_assert(sizeof(MapHeader) == 64);
static_assert(offsetof(MapHeader, LowerThreshold) == 16);
static_assert(offsetof(MapHeader, ClearedSetting) == 28);
static_assert(offsetof(MapHeader, DF1) == 32);
static_assert(offsetof(MapHeader, DF2) == 36);

// Map type codes in MapHeader::MapType.
inline constexpr std::int32_t kMapTypeStatistic = 0;
inline constexpr std::int32_t kMapTypeF = 4;
