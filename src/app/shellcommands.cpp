// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shellcommands.h"

#include "history/session.h"
#include "history/statistics.h"
#include "messages/messages.h"
#include "pressure/calibration.h"
#include "pressure/evaluation.h"
#include "pressure/inputfilter.h"

#include <QDateTime>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace barovista {

namespace {

QString lines(const QString &boxText)
{
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text + QLatin1Char('\n');
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

// JSON numbers in the window's display form, with a point.
QString jsonNumber(double value)
{
    DisplayLocale point;
    point.decimalPoint = QLatin1Char('.');
    return formatNumber(value, point);
}

QString jsonSingle(float value)
{
    DisplayLocale point;
    point.decimalPoint = QLatin1Char('.');
    return formatSingle(value, point);
}

QString member(const char *key, const QString &value)
{
    return jsonString(QLatin1String(key)) + QLatin1Char(':') + value;
}

void refuse(const QString &line)
{
    writeText(stderr, QStringLiteral("barovista: ") + line + QLatin1Char('\n'));
}

const QString kReadingWanted = QStringLiteral(
    "in hPa: bis zu sieben Zeichen, Ziffern und höchstens ein Komma oder Punkt, wie im Eingabefeld");

} // namespace

namespace {

// The text with its control characters in a visible form, line breaks kept.
QString visible(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\n' || (code >= 0x20 && code < 0x7f) || code > 0x9f)
            out += c;
        else if (code < 0x80)
            out += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

bool writeText(FILE *stream, const QString &text)
{
    const QString shown = visible(text);
#ifdef Q_OS_WIN
    std::fflush(stream);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = shown.toStdWString();
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)
               && written == wide.size();
    }
#endif
    const QByteArray bytes = shown.toUtf8();
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    // The flush reports what the buffer could not write: /dev/full says so only here.
    const bool flushed = std::fflush(stream) == 0;
    return written == static_cast<size_t>(bytes.size()) && flushed && !std::ferror(stream);
}

int answer(const QString &text, int status)
{
    errno = 0;
    if (writeText(stdout, text))
        return status;
    const int error = errno;
    writeText(stderr, QStringLiteral("barovista: ") + outputLostLine(error) + QLatin1Char('\n'));
    return status == shellstatus::kOk ? shellstatus::kOutputLost : status;
}

ShellCommands::ShellCommands(QCommandLineParser &parser)
    : m_parser(parser),
      m_altitude(QStringLiteral("altitude"),
                 QStringLiteral("Evaluate without a window: the altitude in whole metres, 0 to 9999."),
                 QStringLiteral("metres")),
      m_pressure(QStringLiteral("pressure"),
                 QStringLiteral("The barometer reading in hPa, with a comma or a point, up to 7 characters."),
                 QStringLiteral("hPa")),
      m_weather(QStringLiteral("weather"),
                QStringLiteral("Calibrate too: the sea-level pressure a weather service reports, in hPa."),
                QStringLiteral("hPa")),
      m_json(QStringLiteral("json"), QStringLiteral("Print one JSON object instead of text.")),
      m_statistics(QStringLiteral("statistics"),
                   QStringLiteral("Print the statistics of the history. Writes nothing.")),
      m_record(QStringLiteral("record"),
               QStringLiteral("Record the evaluation onto the history, as closing the window does."))
{
    parser.addOptions({m_altitude, m_pressure, m_weather, m_json, m_statistics, m_record});
}

QString ShellCommands::usage()
{
    return QStringLiteral("Usage: barovista [--help | --version]\n"
                          "       barovista --altitude METRES --pressure HPA [--weather HPA] [--record] "
                          "[--statistics] [--json]\n"
                          "       barovista --statistics [--json]");
}

bool ShellCommands::requested() const
{
    for (const QCommandLineOption *option :
         {&m_altitude, &m_pressure, &m_weather, &m_json, &m_statistics, &m_record})
        if (m_parser.isSet(*option))
            return true;
    return false;
}

int ShellCommands::run() const
{
    using namespace shellstatus;
    const auto name = [](const QCommandLineOption &option) {
        return QStringLiteral("--") + option.names().constFirst();
    };
    for (const QCommandLineOption *option : {&m_altitude, &m_pressure, &m_weather}) {
        if (m_parser.values(*option).size() > 1) {
            refuse(name(*option) + QStringLiteral(" ist mehrfach angegeben; erwartet wird ein Wert."));
            return kBadInput;
        }
    }

    // The values first, then what they need: the first fault is named. Each
    // value is typed into its field's filter; `wanted` says what the field
    // takes, with the value in %1.
    std::optional<QString> altitude, reading, weather;
    const auto take = [&](const QCommandLineOption &option, InputFilter filter, const QString &wanted,
                          std::optional<QString> &into) {
        if (!m_parser.isSet(option))
            return true;
        into = typedInto(filter, m_parser.value(option));
        if (!into)
            refuse(name(option) + QStringLiteral(" erwartet ") + wanted.arg(m_parser.value(option)));
        return into.has_value();
    };
    if (!take(m_altitude, altitudeFilter,
              QStringLiteral("die Höhe in ganzen Metern, 0 bis 9999 (bis zu vier Ziffern), nicht „%1“."),
              altitude)
        || !take(m_pressure, pressureFilter,
                 QStringLiteral("den Luftdruck laut Barometer ") + kReadingWanted
                     + QStringLiteral(", nicht „%1“."),
                 reading)
        || !take(m_weather, pressureFilter,
                 QStringLiteral("den Luftdruck des Wetterdienstes ") + kReadingWanted
                     + QStringLiteral(", nicht „%1“."),
                 weather))
        return kBadInput;
    if (altitude && !reading) {
        refuse(QStringLiteral("--altitude braucht auch --pressure, den Luftdruck laut Barometer in hPa."));
        return kBadInput;
    }
    if (reading && !altitude) {
        refuse(QStringLiteral("--pressure braucht auch --altitude, die Höhe in ganzen Metern."));
        return kBadInput;
    }
    for (const QCommandLineOption *option : {&m_weather, &m_record}) {
        if (m_parser.isSet(*option) && !altitude) {
            refuse(name(*option) + QStringLiteral(" braucht auch --altitude und --pressure."));
            return kBadInput;
        }
    }
    const bool statistics = m_parser.isSet(m_statistics);
    if (m_parser.isSet(m_json) && !altitude && !statistics) {
        refuse(QStringLiteral("--json braucht --altitude und --pressure oder --statistics."));
        return kBadInput;
    }

    // The same session a window has, on the history as it is on disk now:
    // read where the recording or the statistics need it, never written
    // before the recording itself.
    const DisplayLocale locale = DisplayLocale::system();
    const bool record = m_parser.isSet(m_record);
    Session session;
    std::optional<OpenResult> opened;
    if (record || statistics)
        opened = session.open(QDateTime::currentDateTime(), Session::Access::ReadOnly);

    // The window's start-up, typing, evaluation and calibration: its
    // weather-service field as start-up restored it unless the value is
    // given here.
    std::optional<EvaluationScreen> screen;
    std::optional<Calibration> calibration;
    if (altitude) {
        session.restore(locale);
        session.edited(Session::Field::Altitude, *altitude);
        session.edited(Session::Field::Reading, *reading);
        if (weather)
            session.edited(Session::Field::WeatherService, *weather);
        const Answer<EvaluationScreen> evaluated = session.evaluate(locale);
        const std::optional<Answer<Calibration>> calibrated =
            weather ? std::optional(session.calibrate()) : std::nullopt;
        if (evaluated.refused() || (calibrated && calibrated->refused())) {
            refuse(notComputableLine());
            return kBadInput;
        }
        screen = *evaluated;
        if (calibrated)
            calibration = **calibrated;
    }

    int status = kOk;
    // The lines for stderr, each on one line and written after the answer.
    QString errors;
    const auto tell = [&errors](const QString &line) {
        errors += QStringLiteral("barovista: ") + line + QLatin1Char('\n');
    };
    bool saved = false;
    if (record) {
        // Recorded exactly as closing a window right after this evaluation.
        const std::optional<RecordResult> recorded =
            session.close([] { return QDateTime::currentDateTime(); });
        if (!recorded) {
            // Nothing readable in the history's place: left alone.
            status = kNotAHistory;
            tell(notSavedLine(opened->load.reason));
        } else {
            if (recorded->damaged)
                tell(damagedHistoryLine(recorded->damaged));
            switch (recorded->status) {
            case RecordResult::Status::Saved:
                saved = true;
                break;
            case RecordResult::Status::Busy:
                status = kBusy;
                break;
            case RecordResult::Status::Failed:
                status = kSaveFailed;
                break;
            case RecordResult::Status::LeftAlone:
                status = kNotAHistory;
                break;
            }
            if (status != kOk)
                tell(notSavedLine(*recorded));
            // Saved, but less safe than it should be: said, and still a success,
            // so that a script does not record the measurement twice.
            else if (recorded->warning)
                tell(problemLine(recorded->warning));
        }
    }

    // The report of the history as it is on disk now; reading changes nothing.
    std::optional<QString> report;
    bool reportRead = false;
    if (statistics) {
        const LoadResult::Status found = opened->load.status;
        if (saved || found == LoadResult::Status::Loaded || found == LoadResult::Status::Missing) {
            reportRead = true;
            report = session.statistics(QDate::currentDate(), locale);
        } else {
            tell(problemLine(opened->load.reason));
            if (status == kOk)
                status = kNotAHistory;
        }
    }

    QString out;
    if (m_parser.isSet(m_json)) {
        QStringList members;
        if (screen) {
            members << member("altitude", jsonNumber(screen->altitude))
                    << member("pressure", jsonNumber(screen->reading))
                    << member("mean_pressure", jsonNumber(screen->numbers.meanPressure))
                    << member("sea_level_pressure", jsonNumber(screen->numbers.seaLevel))
                    << member("deviation", jsonNumber(screen->numbers.tendenz))
                    << member("message", jsonString(screen->message.message));
        }
        if (calibration) {
            const QStringList inner = {
                member("weather_service", jsonNumber(calibration->weatherService)),
                member("weather_service_at_altitude", jsonNumber(calibration->converted)),
                member("barometer_deviation", jsonSingle(calibration->deviation)),
                member("message", jsonString(lines(calibrationReport(*calibration, locale)).chopped(1)))};
            members << member("calibration",
                              QLatin1Char('{') + inner.join(QLatin1Char(',')) + QLatin1Char('}'));
        }
        if (reportRead)
            members << member("statistics",
                              report ? jsonString(lines(*report).chopped(1)) : QStringLiteral("null"));
        out = QLatin1Char('{') + members.join(QLatin1Char(',')) + QStringLiteral("}\n");
    } else {
        QStringList parts;
        if (screen)
            parts << lines(screen->meanPressureText + QLatin1Char('\n') + screen->seaLevelText
                           + QLatin1Char('\n') + screen->message.message);
        if (calibration)
            parts << lines(calibrationReport(*calibration, locale));
        if (reportRead)
            parts << lines(report.value_or(noHistoryText()));
        out = parts.join(QLatin1Char('\n'));
    }
    const int result = !out.isEmpty() && (status == kOk || screen) ? answer(out, status) : status;
    if (!errors.isEmpty())
        writeText(stderr, errors);
    return result;
}

} // namespace barovista
