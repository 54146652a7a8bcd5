#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace kx {

/** Error numbers that routines branch on, as the old run time and database engine gave them. */
namespace ErrorCode {
inline constexpr int None = 0;
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
/** An object no longer set; also how a cancelled print run shows. */
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
/** The program that served the page is no longer there. */
inline constexpr int ServerUnavailable = 462;
inline constexpr int InvalidArgument = 3001;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int FileInUse = 3045;
/** The database file is damaged: nothing read from it can be trusted, and retrying does not help. */
inline constexpr int DatabaseDamaged = 3049;
inline constexpr int OperationNotAllowed = 3219;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ObjectClosed = 3704;
inline constexpr int ObjectOpen = 3705;
inline constexpr int ProviderNotFound = 3706;
inline constexpr int ConnectionClosed = 3709;
inline constexpr int RowDeletedMeanwhile = -2147217864;
inline constexpr int MultipleStepErrors = -2147217887;
inline constexpr int TableNotFound = -2147217865;
inline constexpr int SyntaxError = -2147217900;
inline constexpr int ParameterMissing = -2147217904;
inline constexpr int Unspecified = -2147467259;
} // namespace ErrorCode

/**
 * A run-time error carrying the old program's number and an Italian description. Routines throw it
 * inside themselves and their own handler decides what to do; it never crosses the event loop.
 */
class RoutineError : public std::exception
{
public:
    RoutineError(int number, QString description);
    /** The error with the description the old run time gave for that number. */
    explicit RoutineError(int number);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

    /** The run time's own Italian description of a number, or a generic one. */
    static QString standardDescription(int number);

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace kx
