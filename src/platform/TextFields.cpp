// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextFields.h"

#include <algorithm>
#include <cstring>

namespace kv::platform {

std::optional<long long> NumberValue(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        if (value < 1'000'000'000'000LL) value = value * 10 + (text[i] - '0');
    }
    if (!digits) return std::nullopt;
    return negative ? -value : value;
}

void FieldReader::SkipLineEnd() {
    char ch;
    if (Peek(ch) && ch == '\r') Get(ch);
    if (Peek(ch) && ch == '\n') Get(ch);
}

FieldReader::~FieldReader() {
    const qsizetype unread = chunk_.size() - pos_;
    if (device_ && unread > 0 && !device_->isSequential()) device_->seek(device_->pos() - unread);
}

QByteArray FieldReader::ReadLine(qsizetype keep) {
    QByteArray line;
    while (Fill()) {
        // Take the rest of the line, or of the chunk, in one piece; memchr finds its end far
        // faster than a loop over a long line.
        const char* data = chunk_.constData();
        const char* from = data + pos_;
        const char* stop = data + chunk_.size();
        const auto* cr = static_cast<const char*>(std::memchr(from, '\r', stop - from));
        const auto* lf = static_cast<const char*>(std::memchr(from, '\n', (cr ? cr : stop) - from));
        const qsizetype end = (lf ? lf : cr ? cr : stop) - data;
        const qsizetype room = keep < 0 ? end - pos_ : std::max<qsizetype>(0, keep - line.size());
        line.append(data + pos_, std::min(end - pos_, room));
        pos_ = end;
        if (end < chunk_.size()) break;
    }
    SkipLineEnd();
    return line;
}

QByteArray FieldReader::ReadTextField() {
    char ch;
    while (Peek(ch) && (ch == ' ' || ch == '\t')) Get(ch);
    QByteArray field;
    if (Peek(ch) && ch == '"') {
        Get(ch);
        while (Peek(ch) && ch != '"' && ch != '\r' && ch != '\n') {
            Get(ch);
            field.append(ch);
        }
        if (Peek(ch) && ch == '"') Get(ch);
    } else {
        while (Peek(ch) && ch != ',' && ch != '\r' && ch != '\n') {
            Get(ch);
            field.append(ch);
        }
    }
    // Step over what ends the field, so the next read starts at the next field.
    while (Peek(ch) && (ch == ' ' || ch == '\t')) Get(ch);
    if (Peek(ch) && ch == ',') {
        Get(ch);
    } else {
        SkipLineEnd();
    }
    return field;
}

std::optional<long long> FieldReader::ReadNumber() {
    char ch;
    while (Peek(ch) && (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n')) Get(ch);
    if (!Peek(ch)) return std::nullopt;
    // Nothing the game writes is this long: the rest of a runaway field is dropped.
    char token[65];
    qsizetype length = 0;
    while (Peek(ch) && ch != ',' && ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') {
        Get(ch);
        if (length < qsizetype(sizeof token)) token[length++] = ch;
    }
    while (Peek(ch) && (ch == ' ' || ch == '\t')) Get(ch);
    if (Peek(ch) && ch == ',') Get(ch);
    return NumberValue(QByteArrayView(token, length));
}

}  // namespace kv::platform
