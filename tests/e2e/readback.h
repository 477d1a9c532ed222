#pragma once

// What the scenarios read back from the program: the digits it shows, read
// off a screenshot, and the training log, read through its CSV export.
#include "layout.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace vk::e2e {

// The dark pixels of a sheet cell: what a digit looks like there.
QList<bool> darkMask(const QImage &shot, const QRect &cell);

// The ten digits as the answer row shows them once "0123456789" has been
// typed from the units column: digit d in column 40 - d.
QList<QList<bool>> digitMasks(const QImage &shot, const StageLayout &stage);

// The digit in a cell, by the closest of the ten digit masks; -1 for an
// empty cell or one no digit is clearly closest to.
int readDigit(const QImage &shot, const QRect &cell, const QList<QList<bool>> &digits);

// The number of `length` digits in sheet row `row`, its units in column 40;
// empty if a digit could not be read.
QString readNumber(const QImage &shot, const StageLayout &stage, int row, int length, const QList<QList<bool>> &digits);

// The product as the trainer writes it: one digit short of the two factors'
// lengths together unless the last column leaves a carry.
QString productOf(const QString &a, const QString &b);

QString reversed(const QString &s);

// A data folder of the test's own, where the program keeps its training
// log: XDG_DATA_HOME points into it until the object goes.
class PrivateDataHome
{
public:
    PrivateDataHome();
    ~PrivateDataHome();
    PrivateDataHome(const PrivateDataHome &) = delete;
    PrivateDataHome &operator=(const PrivateDataHome &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

// The CSV an export wrote: one map per row, by the header's names.
QList<QMap<QString, QString>> readCsv(const QString &path);

} // namespace vk::e2e
