// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/form1state.h"

#include <array>
#include <utility>

namespace barovista {

namespace {

using Member = TaggedValue Form1State::*;

// The record's fields and the members that hold them.
#define BAROVISTA_FIELD_MEMBER(field, member, kind) {RecordField::field, &Form1State::member},
constexpr std::pair<RecordField, Member> kRecordMembers[] = {BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_MEMBER)};
#undef BAROVISTA_FIELD_MEMBER
static_assert(std::size(kRecordMembers) == kRecordSize);

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
