#include "platform/files/flat_file.h"

#include <fstream>
#include <vector>

namespace pordex::files {

FlatResult importFlat(RecordFile& file, const std::filesystem::path& flat, FlatMode mode) {
    FlatResult r;
    const std::size_t size = file.desc().recordSize;
    std::ifstream in(flat, std::ios::binary);
    if (!in) {
        r.message = "Файл " + flat.string() + " не удается прочитать.";
        return r;
    }
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        r.message = "Ошибка чтения файла " + flat.string() + ".";
        return r;
    }
    if (data.size() % size != 0) {
        r.message = "Файл " + flat.string() + " длиной " + std::to_string(data.size()) +
                    " байт не состоит из записей " + std::string(file.desc().label) + " по " +
                    std::to_string(size) + " байт; ничего не загружено.";
        return r;
    }
    if (!file.open()) {
        r.message = "Файл " + file.displayName() + " не открыт: " + file.lastErrorText() + ".";
        return r;
    }
    const std::size_t count = data.size() / size;
    std::size_t failedAt = 0;
    const bool ok = mode == FlatMode::Replace ? file.replaceAll(data.data(), count, &failedAt)
                                              : file.insertAll(data.data(), count, &failedAt);
    if (!ok) {
        r.message = failedAt < count
                        ? "Запись " + std::to_string(failedAt + 1) + " файла " + flat.string() +
                              " не принята (" + file.lastErrorText() + "); ничего не загружено."
                        : "Файл " + flat.string() + " не загружен (" + file.lastErrorText() + ").";
        return r;
    }
    r.ok = true;
    r.records = count;
    return r;
}

FlatResult exportFlat(RecordFile& file, const std::filesystem::path& flat) {
    FlatResult r;
    if (!file.open()) {
        r.message = "Файл " + file.displayName() + " не открыт: " + file.lastErrorText() + ".";
        return r;
    }
    std::ofstream out(flat, std::ios::binary | std::ios::trunc);
    if (!out) {
        r.message = "Файл " + flat.string() + " не удается создать.";
        return r;
    }
    constexpr std::size_t kPage = 1000;
    Position from = Position::first();
    std::vector<Row> rows;
    for (;;) {
        rows.clear();
        if (!file.read(Order::file(), from, Direction::Forward, kPage, rows)) {
            r.message =
                "Ошибка чтения файла " + file.displayName() + ": " + file.lastErrorText() + ".";
            return r;
        }
        for (const Row& row : rows)
            out.write(reinterpret_cast<const char*>(row.bytes.data()),
                      static_cast<std::streamsize>(row.bytes.size()));
        r.records += rows.size();
        if (rows.size() < kPage) break;
        from = Position::after(rows.back().id, rows.back().bytes);
    }
    out.flush();
    if (!out) {
        r.message = "Ошибка записи файла " + flat.string() + ".";
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace pordex::files
