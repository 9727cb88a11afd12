// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/form1state.h"

#include <array>
#include <utility>

namespace barovista {

namespace {

using Member = TaggedValue Form1State::*;

// Record order of the history file.
constexpr std::array<std::pair<RecordField, Member>, kRecordSize> kRecordMembers{{
    {RecordField::Hoehe, &Form1State::hoehe},
    {RecordField::Luftdruck, &Form1State::luftdruck},
    {RecordField::Tendenzlatte, &Form1State::tendenzlatte},
    {RecordField::Mitte, &Form1State::mitte},
    {RecordField::Meer, &Form1State::meer},
    {RecordField::Infotext, &Form1State::infotext},
    {RecordField::Kali, &Form1State::kali},
    {RecordField::Lastmess, &Form1State::lastmess},
    {RecordField::Datelastmess, &Form1State::datelastmess},
    {RecordField::Timelastmess, &Form1State::timelastmess},
    {RecordField::Minmeer, &Form1State::minmeer},
    {RecordField::Maxmeer, &Form1State::maxmeer},
    {RecordField::Timeminmeer, &Form1State::timeminmeer},
    {RecordField::Dateminmeer, &Form1State::dateminmeer},
    {RecordField::Timemaxmeer, &Form1State::timemaxmeer},
    {RecordField::Datemaxmeer, &Form1State::datemaxmeer},
    {RecordField::AbsolutLastmess, &Form1State::absolut_lastmess},
    {RecordField::AbsolutMaxmeer, &Form1State::absolut_maxmeer},
    {RecordField::AbsolutMinmeer, &Form1State::absolut_minmeer},
    {RecordField::Datestart, &Form1State::datestart},
}};

} // namespace

Record Form1State::toRecord() const
{
    Record record;
    for (const auto &[field, member] : kRecordMembers)
        record[field] = this->*member;
    return record;
}

void Form1State::setFromRecord(const Record &record)
{
    for (const auto &[field, member] : kRecordMembers)
        this->*member = record[field];
}

} // namespace barovista
