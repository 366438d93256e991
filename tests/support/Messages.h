// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The texts the player reads in message boxes and the main window's caption.
#pragma once

#include <QString>

namespace kvtest {

inline const QString kTitle = QStringLiteral("Головоломка «Квелт»");
inline const QString kNotFound = QStringLiteral("Файл не найден.");
inline const QString kCannotOpen = QStringLiteral("Файл открыть не возможно.");
inline const QString kCannotSave = QStringLiteral("Файл сохранить не возможно.");
inline const QString kProtected = QStringLiteral("Файл защищён от записи.");
inline const QString kExists = QStringLiteral("Файл уже существует.\r\nЗаменить его?");

}  // namespace kvtest
