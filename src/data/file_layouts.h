#pragma once

#include "data/records.h"
#include "platform/files/layout.h"

namespace pordex {

// The nine files: name relative to the working folder, layout and keys.
const files::FileDesc& prpFile();
const files::FileDesc& bikFile();
const files::FileDesc& polFile();
const files::FileDesc& mcoFile();
const files::FileDesc& kszFile();
const files::FileDesc& knnFile();
const files::FileDesc& kbpFile();
const files::FileDesc& bl2File();
const files::FileDesc& rewFile();

// Binds a record type to its file description.
template <class R>
const files::FileDesc& fileOf();
template <>
inline const files::FileDesc& fileOf<PrpRecord>() {
    return prpFile();
}
template <>
inline const files::FileDesc& fileOf<BikRecord>() {
    return bikFile();
}
template <>
inline const files::FileDesc& fileOf<PolRecord>() {
    return polFile();
}
template <>
inline const files::FileDesc& fileOf<McoRecord>() {
    return mcoFile();
}
template <>
inline const files::FileDesc& fileOf<KszRecord>() {
    return kszFile();
}
template <>
inline const files::FileDesc& fileOf<KnnRecord>() {
    return knnFile();
}
template <>
inline const files::FileDesc& fileOf<KbpRecord>() {
    return kbpFile();
}
template <>
inline const files::FileDesc& fileOf<Bl2Record>() {
    return bl2File();
}
template <>
inline const files::FileDesc& fileOf<RewRecord>() {
    return rewFile();
}

}  // namespace pordex
