#include "platform/system/program_start.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <mutex>

namespace pordex::sys {
namespace {

struct StartState {
    std::mutex mutex;
    std::function<bool(const std::string&)> starter;
};

StartState& state() {
    static StartState s;
    return s;
}

bool startDetached(const std::string& commandLine) {
    QStringList args = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (args.isEmpty()) return false;
    const QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

QString windowsCalculatorStandIn() {
    static const char* const calculators[] = {"gnome-calculator", "kcalc",     "galculator",
                                              "qalculate-gtk",    "mate-calc", "xcalc"};
    for (const char* name : calculators) {
        if (!QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty())
            return QString::fromLatin1(name);
    }
    return {};
}

// The inverse of QProcess::splitCommand: blanks inside an argument are quoted, a literal quote
// is written three times.
QString joinCommand(const QStringList& args) {
    QStringList parts;
    for (QString a : args) {
        const bool quote = a.isEmpty() || a.contains(QLatin1Char(' ')) ||
                           a.contains(QLatin1Char('\t')) || a.contains(QLatin1Char('"'));
        a.replace(QLatin1String("\""), QLatin1String("\"\"\""));
        parts << (quote ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace

std::string nativeCommandLine(std::string_view commandLine) {
    QStringList args = QProcess::splitCommand(
        QString::fromUtf8(commandLine.data(), qsizetype(commandLine.size())));
    if (args.isEmpty()) return {};
    if (args.first().compare(QLatin1String("calc.exe"), Qt::CaseInsensitive) == 0 ||
        args.first().compare(QLatin1String("calc"), Qt::CaseInsensitive) == 0) {
        const QString calc = windowsCalculatorStandIn();
        if (calc.isEmpty()) return {};
        args.first() = calc;
    }
    return joinCommand(args).toStdString();
}

bool startProgram(std::string_view commandLine) {
    const std::string native = nativeCommandLine(commandLine);
    if (native.empty()) return false;
    std::function<bool(const std::string&)> starter;
    {
        StartState& s = state();
        std::lock_guard lock(s.mutex);
        starter = s.starter;
    }
    return starter ? starter(native) : startDetached(native);
}

void setProgramStarter(std::function<bool(const std::string&)> starter) {
    StartState& s = state();
    std::lock_guard lock(s.mutex);
    s.starter = std::move(starter);
}

}  // namespace pordex::sys
