#pragma once

#include <functional>
#include <string_view>

#include "data/file_layouts.h"
#include "data/file_manager.h"
#include "data/records.h"
#include "platform/files/error_manager.h"

namespace pordex {

// The data store of one window thread: the nine record buffers and, per file, the file manager
// (`Access.REW`) and the relation manager (`Relate.REW`). `REW:N_SC_A` on this thread is
// `dct.REW.N_SC_A`. Two dictionaries never share a buffer or a connection.
class Dictionary {
  public:
    // The main thread builds its store in the program entry, after the settings store is ready,
    // so its dictionary is constructed with Deferred and the entry calls DctInit().
    enum class Start { Now, Deferred };

    explicit Dictionary(Start start = Start::Now, files::ErrorStatus* status = nullptr,
                        files::ErrorManager& errors = files::globalErrors());
    ~Dictionary();  // DctKill()
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Creates the 18 managers in the order REW, BL2, KBP, KNN, KSZ, MCO, POL, BIK, PRP, then
    // FilesInit(). Calling it twice changes nothing.
    void DctInit();
    // Initialises the nine relation managers (each first its file manager) in the same order.
    void FilesInit();
    // Closes and destroys the managers in the same order. Calling it twice changes nothing.
    void DctKill();
    bool initialised() const { return initialised_; }

    // The thread's record buffers.
    RewRecord REW;
    Bl2Record BL2;
    KbpRecord KBP;
    KnnRecord KNN;
    KszRecord KSZ;
    McoRecord MCO;
    PolRecord POL;
    BikRecord BIK;
    PrpRecord PRP;

    // The file managers: `dct.Access.REW.fetch(REW_KEY_4)`.
    struct AccessManagers {
        FileManager<RewRecord> REW;
        FileManager<Bl2Record> BL2;
        FileManager<KbpRecord> KBP;
        FileManager<KnnRecord> KNN;
        FileManager<KszRecord> KSZ;
        FileManager<McoRecord> MCO;
        FileManager<PolRecord> POL;
        FileManager<BikRecord> BIK;
        FileManager<PrpRecord> PRP;
    } Access;

    // The relation managers: `dct.Relate.REW.open()` / `close()`.
    struct RelationManagers {
        RelationManager<RewRecord> REW;
        RelationManager<Bl2Record> BL2;
        RelationManager<KbpRecord> KBP;
        RelationManager<KnnRecord> KNN;
        RelationManager<KszRecord> KSZ;
        RelationManager<McoRecord> MCO;
        RelationManager<PolRecord> POL;
        RelationManager<BikRecord> BIK;
        RelationManager<PrpRecord> PRP;
    } Relate;

    // The buffer and managers of a file chosen by its record type.
    template <class R>
    FileManager<R>& access();
    template <class R>
    RelationManager<R>& relate();

    // Follows the set-up and tear-down file by file: ("init", "REW") ... ("kill", "PRP").
    using Trace = std::function<void(std::string_view step, std::string_view label)>;
    void setTrace(Trace trace) { trace_ = std::move(trace); }

  private:
    void note(std::string_view step, std::string_view label) {
        if (trace_) trace_(step, label);
    }

    files::ErrorStatus* status_;
    files::ErrorManager& errors_;
    bool initialised_ = false;
    Trace trace_;
};

template <>
inline FileManager<RewRecord>& Dictionary::access<RewRecord>() {
    return Access.REW;
}
template <>
inline FileManager<Bl2Record>& Dictionary::access<Bl2Record>() {
    return Access.BL2;
}
template <>
inline FileManager<KbpRecord>& Dictionary::access<KbpRecord>() {
    return Access.KBP;
}
template <>
inline FileManager<KnnRecord>& Dictionary::access<KnnRecord>() {
    return Access.KNN;
}
template <>
inline FileManager<KszRecord>& Dictionary::access<KszRecord>() {
    return Access.KSZ;
}
template <>
inline FileManager<McoRecord>& Dictionary::access<McoRecord>() {
    return Access.MCO;
}
template <>
inline FileManager<PolRecord>& Dictionary::access<PolRecord>() {
    return Access.POL;
}
template <>
inline FileManager<BikRecord>& Dictionary::access<BikRecord>() {
    return Access.BIK;
}
template <>
inline FileManager<PrpRecord>& Dictionary::access<PrpRecord>() {
    return Access.PRP;
}

template <>
inline RelationManager<RewRecord>& Dictionary::relate<RewRecord>() {
    return Relate.REW;
}
template <>
inline RelationManager<Bl2Record>& Dictionary::relate<Bl2Record>() {
    return Relate.BL2;
}
template <>
inline RelationManager<KbpRecord>& Dictionary::relate<KbpRecord>() {
    return Relate.KBP;
}
template <>
inline RelationManager<KnnRecord>& Dictionary::relate<KnnRecord>() {
    return Relate.KNN;
}
template <>
inline RelationManager<KszRecord>& Dictionary::relate<KszRecord>() {
    return Relate.KSZ;
}
template <>
inline RelationManager<McoRecord>& Dictionary::relate<McoRecord>() {
    return Relate.MCO;
}
template <>
inline RelationManager<PolRecord>& Dictionary::relate<PolRecord>() {
    return Relate.POL;
}
template <>
inline RelationManager<BikRecord>& Dictionary::relate<BikRecord>() {
    return Relate.BIK;
}
template <>
inline RelationManager<PrpRecord>& Dictionary::relate<PrpRecord>() {
    return Relate.PRP;
}

}  // namespace pordex
