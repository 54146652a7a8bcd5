#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

/**
 * Runs the step as an ordinary user, so that file permissions hold also when the tests run as root
 * (as CI does): the folder and what it holds are given to "nobody" for the step and taken back after.
 * Run as an ordinary user, the step simply runs.
 */
template<typename Step> void asOrdinaryUser(const QString &folder, Step &&step)
{
    if (::geteuid() != 0) {
        step();
        return;
    }
    constexpr uid_t Nobody = 65534;
    const auto giveTo = [&folder](uid_t user) {
        QVERIFY(::chown(QFile::encodeName(folder).constData(), user, user) == 0);
        const auto entries =
            QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QFileInfo &entry : entries)
            QVERIFY(::chown(QFile::encodeName(entry.filePath()).constData(), user, user) == 0);
    };
    giveTo(Nobody);
    QVERIFY(::seteuid(Nobody) == 0);
    try {
        step();
    } catch (...) {
        QVERIFY(::seteuid(0) == 0);
        throw;
    }
    QVERIFY(::seteuid(0) == 0);
    giveTo(0);
}
