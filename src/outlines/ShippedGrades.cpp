// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/ShippedGrades.h"

#include <QFile>
#include <QList>

#include "platform/Files.h"

namespace kv {

QByteArray GradeLine(const QString& fileName, const OutlineGrade& grade) {
    return fileName.toUtf8() + '\t' + QByteArray::number(grade.grade) + '\t' +
           QByteArray::number(static_cast<qulonglong>(grade.tilings)) +
           (grade.tilingsCapped ? "+" : "") + '\t' +
           QByteArray::number(static_cast<qulonglong>(grade.nodes)) + '\n';
}

std::map<QString, OutlineGrade> ParseGrades(const QByteArray& text) {
    std::map<QString, OutlineGrade> grades;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 4 || fields[0].isEmpty()) continue;
        OutlineGrade g;
        bool gradeOk = false, tilingsOk = false, nodesOk = false;
        g.grade = fields[1].toInt(&gradeOk);
        QByteArray tilings = fields[2];
        g.tilingsCapped = tilings.endsWith('+');
        if (g.tilingsCapped) tilings.chop(1);
        g.tilings = tilings.toULongLong(&tilingsOk);
        g.nodes = fields[3].toULongLong(&nodesOk);
        if (!gradeOk || !tilingsOk || !nodesOk || g.grade < 0 || g.grade > 5) continue;
        grades[QString::fromUtf8(fields[0])] = g;
    }
    return grades;
}

std::map<QString, OutlineGrade> ReadShippedGrades() {
    QString folder = platform::DataFolder();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    QFile file(folder + QStringLiteral("grades.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ParseGrades(file.readAll());
}

}  // namespace kv
