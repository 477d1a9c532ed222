#pragma once

// What the scenarios read back from the program: the digits it shows, read
// off a screenshot, and the training log, read through its CSV export.
#include "layout.h"
#include "xsession.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace vk::e2e {

// The dark pixels of a sheet cell: what a digit looks like there.
QList<bool> darkMask(const QImage &shot, const QRect &cell);

// The ten digits as the answer row of a running stage shows them:
// "0123456789" typed from the units column, digit d then in column 40 - d.
QList<QList<bool>> learnDigits(XSession &x, const StageLayout &stage);

// The digit in a cell, by the closest of the ten digit masks; -1 for an
// empty cell or one no digit is clearly closest to.
int readDigit(const QImage &shot, const QRect &cell, const QList<QList<bool>> &digits);

// The number of `length` digits in sheet row `row`, its units in column 40;
// empty if a digit could not be read.
QString readNumber(const QImage &shot, const StageLayout &stage, int row, int length, const QList<QList<bool>> &digits);

// The product as the trainer writes it: one digit short of the two factors'
// lengths together unless the last column leaves a carry.
QString productOf(const QString &a, const QString &b);

// A stage's two factors of `factorDigits` digits read off the screen, and
// their product worked out here; all empty when a factor could not be read.
struct ReadProblem {
    QString factor1, factor2, product;
};
ReadProblem readProblem(const QImage &shot, const StageLayout &stage, int factorDigits, const QList<QList<bool>> &digits);

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

// The training log in `data` as `vendrakul --export-log` writes it; empty
// when the export failed.
QList<QMap<QString, QString>> exportedLog(const XSession &x, const PrivateDataHome &data);

} // namespace vk::e2e
