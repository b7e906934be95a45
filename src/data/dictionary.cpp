#include "data/dictionary.h"

namespace pordex {

namespace {

// Visits the nine files in the order the store is built and torn down.
template <class D, class F>
void forEachFile(D& d, F&& f) {
    f(d.REW, d.Access.REW, d.Relate.REW, rewFile());
    f(d.BL2, d.Access.BL2, d.Relate.BL2, bl2File());
    f(d.KBP, d.Access.KBP, d.Relate.KBP, kbpFile());
    f(d.KNN, d.Access.KNN, d.Relate.KNN, knnFile());
    f(d.KSZ, d.Access.KSZ, d.Relate.KSZ, kszFile());
    f(d.MCO, d.Access.MCO, d.Relate.MCO, mcoFile());
    f(d.POL, d.Access.POL, d.Relate.POL, polFile());
    f(d.BIK, d.Access.BIK, d.Relate.BIK, bikFile());
    f(d.PRP, d.Access.PRP, d.Relate.PRP, prpFile());
}

}  // namespace

Dictionary::Dictionary(Start start, files::ErrorStatus* status, files::ErrorManager& errors)
    : status_(status), errors_(errors) {
    if (start == Start::Now) DctInit();
}

Dictionary::~Dictionary() {
    DctKill();
}

void Dictionary::DctInit() {
    if (initialised_) return;
    FilesInit();
    initialised_ = true;
}

void Dictionary::FilesInit() {
    forEachFile(*this, [&](auto& buffer, auto& access, auto& relate, const files::FileDesc& d) {
        access.init(d, buffer, errors_, status_);
        relate.init(access);
        note("init", d.label);
    });
}

void Dictionary::DctKill() {
    if (!initialised_) return;
    forEachFile(*this, [&](auto&, auto&, auto& relate, const files::FileDesc& d) {
        relate.kill();  // closes the file and unbinds the file manager
        note("kill", d.label);
    });
    initialised_ = false;
}

}  // namespace pordex
