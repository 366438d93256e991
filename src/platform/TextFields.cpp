#include "platform/TextFields.h"

#include <algorithm>

namespace kv::platform {

std::optional<long long> NumberValue(const QByteArray& text) {
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
    if (unread > 0 && !device_.isSequential()) device_.seek(device_.pos() - unread);
}

QByteArray FieldReader::ReadLine(qsizetype keep) {
    QByteArray line;
    while (Fill()) {
        // Take the rest of the line, or of the chunk, in one piece.
        const char* data = chunk_.constData();
        qsizetype end = pos_;
        while (end < chunk_.size() && data[end] != '\r' && data[end] != '\n') ++end;
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
    QByteArray token;
    while (Peek(ch) && ch != ',' && ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') {
        Get(ch);
        token.append(ch);
        if (token.size() > 64) {
            // Nothing the game writes is this long: drop the rest of a runaway field.
            while (Peek(ch) && ch != ',' && ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') {
                Get(ch);
            }
        }
    }
    while (Peek(ch) && (ch == ' ' || ch == '\t')) Get(ch);
    if (Peek(ch) && ch == ',') Get(ch);
    return NumberValue(token);
}

}  // namespace kv::platform
