#include "core/data/FilterExpression.h"

#include "core/data/CompactRow.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

struct Literal
{
    enum class Kind
    {
        Text,
        Number,
        Boolean,
        Null
    };
    Kind kind = Kind::Null;
    QString text;
    QString folded;
    double number = 0;
    /** The literal's exact value when it is a whole number: a double loses digits past 2^53. */
    std::optional<qlonglong> integer;
    /** A text literal that also reads as a number. */
    bool readsAsNumber = false;
    bool boolean = false;
};

enum class Kind
{
    And,
    Or,
    Not,
    Compare,
    Like,
    IsNull
};
enum class Op
{
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge
};

bool isNumber(const QVariant &value)
{
    return isNumericValue(value) || value.typeId() == QMetaType::Bool;
}

std::optional<double> readNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale::c().toDouble(QString(trimmed).replace(u',', u'.'), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<qlonglong> readInteger(const QString &text)
{
    bool ok = false;
    const qlonglong integer = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(integer) : std::nullopt;
}

QString canonicalNumber(double number)
{
    if (number == std::floor(number) && std::fabs(number) < 9.0e15)
        return QString::number(qlonglong(number));
    return QString::number(number, 'g', 17);
}

QString textOf(const QVariant &value)
{
    return value.typeId() == QMetaType::Bool ? QString::number(value.toBool() ? 1 : 0) : value.toString();
}

int sign(double difference)
{
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int compareNumbers(const QVariant &value, double number, std::optional<qlonglong> integer = std::nullopt)
{
    if (integer && (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)) {
        const qlonglong left = value.toLongLong();
        return left < *integer ? -1 : (left > *integer ? 1 : 0);
    }
    if (value.typeId() == QMetaType::LongLong && number == std::floor(number) && std::fabs(number) < 9.0e18) {
        const qlonglong left = value.toLongLong();
        const auto right = qlonglong(number);
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    return sign(value.toDouble() - number);
}

/** How the value stands against the literal; nothing when they cannot be compared. */
std::optional<int> compareWith(const QVariant &value, const Literal &literal)
{
    if (isNullValue(value))
        return std::nullopt;
    const bool numeric = isNumber(value);
    switch (literal.kind) {
    case Literal::Kind::Null:
        return std::nullopt;
    case Literal::Kind::Boolean: {
        std::optional<double> number;
        if (numeric)
            number = value.toDouble();
        else
            number = readNumber(value.toString());
        if (!number)
            return std::nullopt;
        const bool truth = *number != 0;
        return truth == literal.boolean ? 0 : (truth ? 1 : -1);
    }
    case Literal::Kind::Number: {
        if (numeric)
            return compareNumbers(value, literal.number, literal.integer);
        if (const auto number = readNumber(value.toString()))
            return sign(*number - literal.number);
        return QString::compare(value.toString(), literal.text, Qt::CaseInsensitive);
    }
    case Literal::Kind::Text:
        if (numeric) {
            if (literal.readsAsNumber)
                return compareNumbers(value, literal.number, literal.integer);
            return QString::compare(textOf(value), literal.text, Qt::CaseInsensitive);
        }
        return QString::compare(value.toString(), literal.text, Qt::CaseInsensitive);
    }
    return std::nullopt;
}

/** Wildcard match of already case-folded texts: * and % stand for any run of characters. */
bool wildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'*' || pattern[p] == u'%')) {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == u'*' || pattern[p] == u'%'))
        ++p;
    return p == pattern.size();
}

RoutineError syntaxError(const QString &text)
{
    return RoutineError(ErrorCode::InvalidArgument,
                        RoutineError::standardDescription(ErrorCode::InvalidArgument) + u" (criterio: "_s +
                            text + u")"_s);
}

} // namespace

struct FilterExpression::Node
{
    Kind kind = Kind::Compare;
    Op op = Op::Eq;
    bool negated = false;
    int slot = -1;
    Literal literal;
    /** The terms of AND and OR, however many a chain has (so a long one costs no depth); NOT's one. */
    std::vector<std::shared_ptr<const Node>> operands;
};

namespace {

using NodePtr = std::shared_ptr<const FilterExpression::Node>;

struct Token
{
    enum class Type
    {
        End,
        Name,
        Text,
        Number,
        Open,
        Close,
        Operator
    };
    Type type = Type::End;
    QString text;
};

/**
 * Parentheses and NOT nested deeper than this are refused: each level costs the parser, the evaluation
 * and the release of the expression a call, and no criterion of the program comes near it.
 */
constexpr int MaxNesting = 64;

class Parser
{
public:
    Parser(const QString &text, QStringList &fieldNames) : m_text(text), m_fieldNames(fieldNames)
    {
        advance();
    }

    NodePtr parseAll()
    {
        NodePtr root = parseOr();
        if (m_token.type != Token::Type::End)
            throw syntaxError(m_text);
        return root;
    }

private:
    bool isKeyword(const char16_t *word) const
    {
        return m_token.type == Token::Type::Name &&
               m_token.text.compare(QStringView(word), Qt::CaseInsensitive) == 0;
    }

    NodePtr parseOr() { return parseChain(Kind::Or, u"OR", &Parser::parseAnd); }

    NodePtr parseAnd() { return parseChain(Kind::And, u"AND", &Parser::parseNot); }

    /** Terms joined by the keyword, as one node when there are several. */
    NodePtr parseChain(Kind kind, const char16_t *keyword, NodePtr (Parser::*parseTerm)())
    {
        NodePtr first = (this->*parseTerm)();
        if (!isKeyword(keyword))
            return first;
        auto node = std::make_shared<FilterExpression::Node>();
        node->kind = kind;
        node->operands.push_back(first);
        while (isKeyword(keyword)) {
            advance();
            node->operands.push_back((this->*parseTerm)());
        }
        return node;
    }

    NodePtr parseNot()
    {
        if (!isKeyword(u"NOT") && m_token.type != Token::Type::Open)
            return parseComparison();
        if (++m_nesting > MaxNesting)
            throw syntaxError(m_text);
        NodePtr node;
        if (isKeyword(u"NOT")) {
            advance();
            auto negation = std::make_shared<FilterExpression::Node>();
            negation->kind = Kind::Not;
            negation->operands.push_back(parseNot());
            node = negation;
        } else {
            advance();
            node = parseOr();
            if (m_token.type != Token::Type::Close)
                throw syntaxError(m_text);
            advance();
        }
        --m_nesting;
        return node;
    }

    NodePtr parseComparison()
    {
        if (m_token.type != Token::Type::Name || isKeyword(u"AND") || isKeyword(u"OR"))
            throw syntaxError(m_text);
        auto node = std::make_shared<FilterExpression::Node>();
        node->slot = int(m_fieldNames.size());
        m_fieldNames.append(m_token.text);
        advance();

        if (isKeyword(u"IS")) {
            advance();
            node->kind = Kind::IsNull;
            if (isKeyword(u"NOT")) {
                node->negated = true;
                advance();
            }
            if (!isKeyword(u"NULL"))
                throw syntaxError(m_text);
            advance();
            return node;
        }
        if (isKeyword(u"NOT")) {
            node->negated = true;
            advance();
            if (!isKeyword(u"LIKE"))
                throw syntaxError(m_text);
        }
        if (isKeyword(u"LIKE")) {
            advance();
            node->kind = Kind::Like;
            node->literal = parseLiteral();
            if (node->literal.kind != Literal::Kind::Text && node->literal.kind != Literal::Kind::Number)
                throw syntaxError(m_text);
            return node;
        }
        if (m_token.type != Token::Type::Operator)
            throw syntaxError(m_text);
        static const QList<std::pair<QString, Op>> operators = {{u"="_s, Op::Eq},  {u"<>"_s, Op::Ne},
                                                                {u"<"_s, Op::Lt},  {u">"_s, Op::Gt},
                                                                {u"<="_s, Op::Le}, {u">="_s, Op::Ge}};
        for (const auto &[spelling, op] : operators) {
            if (m_token.text == spelling)
                node->op = op;
        }
        advance();
        node->literal = parseLiteral();
        if (node->literal.kind == Literal::Kind::Null) {
            if (node->op != Op::Eq && node->op != Op::Ne)
                throw syntaxError(m_text);
            node->kind = Kind::IsNull;
            node->negated = node->op == Op::Ne;
        } else {
            node->kind = Kind::Compare;
        }
        return node;
    }

    Literal parseLiteral()
    {
        Literal literal;
        switch (m_token.type) {
        case Token::Type::Text:
            literal.kind = Literal::Kind::Text;
            literal.text = m_token.text;
            if (const auto number = readNumber(literal.text)) {
                literal.readsAsNumber = true;
                literal.number = *number;
                literal.integer = readInteger(literal.text);
            }
            break;
        case Token::Type::Number: {
            literal.kind = Literal::Kind::Number;
            literal.text = m_token.text;
            const auto number = readNumber(m_token.text);
            if (!number)
                throw syntaxError(m_text);
            literal.number = *number;
            literal.integer = readInteger(m_token.text);
            break;
        }
        case Token::Type::Name:
            if (isKeyword(u"TRUE") || isKeyword(u"FALSE")) {
                literal.kind = Literal::Kind::Boolean;
                literal.boolean = isKeyword(u"TRUE");
            } else if (isKeyword(u"NULL")) {
                literal.kind = Literal::Kind::Null;
            } else {
                throw syntaxError(m_text);
            }
            break;
        default:
            throw syntaxError(m_text);
        }
        literal.folded = literal.text.toCaseFolded();
        advance();
        return literal;
    }

    void advance()
    {
        const qsizetype size = m_text.size();
        while (m_at < size && m_text[m_at].isSpace())
            ++m_at;
        m_token = {};
        if (m_at >= size)
            return;
        const QChar c = m_text[m_at];
        if (c == u'(' || c == u')') {
            m_token.type = c == u'(' ? Token::Type::Open : Token::Type::Close;
            ++m_at;
        } else if (c == u'\'') {
            QString value;
            ++m_at;
            for (;;) {
                if (m_at >= size)
                    throw syntaxError(m_text);
                if (m_text[m_at] == u'\'') {
                    if (m_at + 1 < size && m_text[m_at + 1] == u'\'') {
                        value.append(u'\'');
                        m_at += 2;
                        continue;
                    }
                    ++m_at;
                    break;
                }
                value.append(m_text[m_at++]);
            }
            m_token = {Token::Type::Text, value};
        } else if (c == u'[') {
            const qsizetype end = m_text.indexOf(u']', m_at);
            if (end < 0)
                throw syntaxError(m_text);
            m_token = {Token::Type::Name, m_text.mid(m_at + 1, end - m_at - 1)};
            m_at = end + 1;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            QString op(c);
            ++m_at;
            if (m_at < size && c != u'=' && (m_text[m_at] == u'=' || (c == u'<' && m_text[m_at] == u'>')))
                op.append(m_text[m_at++]);
            m_token = {Token::Type::Operator, op};
        } else if (c.isDigit() || ((c == u'-' || c == u'+' || c == u'.') && m_at + 1 < size &&
                                   (m_text[m_at + 1].isDigit() || m_text[m_at + 1] == u'.'))) {
            const qsizetype start = m_at++;
            while (m_at < size && (m_text[m_at].isDigit() || m_text[m_at] == u'.'))
                ++m_at;
            if (m_at < size && (m_text[m_at].isLetter() || m_text[m_at] == u'_'))
                throw syntaxError(m_text);
            m_token = {Token::Type::Number, m_text.mid(start, m_at - start)};
        } else if (c.isLetter() || c == u'_') {
            const qsizetype start = m_at;
            while (m_at < size &&
                   (m_text[m_at].isLetterOrNumber() || m_text[m_at] == u'_' || m_text[m_at] == u'.'))
                ++m_at;
            m_token = {Token::Type::Name, m_text.mid(start, m_at - start)};
        } else {
            throw syntaxError(m_text);
        }
    }

    QString m_text;
    QStringList &m_fieldNames;
    qsizetype m_at = 0;
    /** Parentheses and NOT the parser is inside of. */
    int m_nesting = 0;
    Token m_token;
};

template<typename Row>
bool evaluate(const FilterExpression::Node &node, const std::vector<int> &columns, const Row &row)
{
    switch (node.kind) {
    case Kind::And:
        return std::all_of(node.operands.begin(), node.operands.end(),
                           [&](const auto &operand) { return evaluate(*operand, columns, row); });
    case Kind::Or:
        return std::any_of(node.operands.begin(), node.operands.end(),
                           [&](const auto &operand) { return evaluate(*operand, columns, row); });
    case Kind::Not:
        return !evaluate(*node.operands.front(), columns, row);
    case Kind::IsNull:
        return isNullValue(row.at(columns[node.slot])) != node.negated;
    case Kind::Like: {
        const QVariant &value = row.at(columns[node.slot]);
        if (isNullValue(value))
            return false;
        const QString text = textOf(value);
        // The old engine let no pattern match an empty text, not even "*".
        const bool matched = text.isEmpty() ? node.literal.folded.isEmpty()
                                            : wildcardMatch(text.toCaseFolded(), node.literal.folded);
        return matched != node.negated;
    }
    case Kind::Compare: {
        const auto order = compareWith(row.at(columns[node.slot]), node.literal);
        if (!order)
            return false;
        switch (node.op) {
        case Op::Eq:
            return *order == 0;
        case Op::Ne:
            return *order != 0;
        case Op::Lt:
            return *order < 0;
        case Op::Gt:
            return *order > 0;
        case Op::Le:
            return *order <= 0;
        case Op::Ge:
            return *order >= 0;
        }
    }
    }
    return false;
}

void collectEqualities(const FilterExpression::Node &node, const std::vector<int> &columns,
                       QList<FilterExpression::Equality> &out, bool &pure)
{
    if (node.kind == Kind::And) {
        for (const auto &operand : node.operands)
            collectEqualities(*operand, columns, out, pure);
    } else if (node.kind == Kind::Compare && node.op == Op::Eq &&
               (node.literal.kind == Literal::Kind::Text || node.literal.kind == Literal::Kind::Number)) {
        FilterExpression::Equality term;
        term.column = columns[node.slot];
        term.quoted = node.literal.kind == Literal::Kind::Text;
        term.text = node.literal.text;
        if (!term.quoted || node.literal.readsAsNumber)
            term.number = node.literal.number;
        out.append(term);
    } else {
        pure = false;
    }
}

} // namespace

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(const FilterExpression &) = default;
FilterExpression &FilterExpression::operator=(const FilterExpression &) = default;

FilterExpression FilterExpression::parse(const QString &text)
{
    FilterExpression expression;
    if (text.trimmed().isEmpty())
        return expression;
    Parser parser(text, expression.m_fieldNames);
    expression.m_root = parser.parseAll();
    return expression;
}

bool FilterExpression::isEmpty() const
{
    return !m_root;
}

QStringList FilterExpression::fieldNames() const
{
    return m_fieldNames;
}

void FilterExpression::bind(const FieldResolver &resolver)
{
    m_columns.clear();
    m_columns.reserve(m_fieldNames.size());
    for (const QString &name : std::as_const(m_fieldNames))
        m_columns.push_back(resolver(name));
}

bool FilterExpression::matches(const QVariantList &row) const
{
    return !m_root || evaluate(*m_root, m_columns, row);
}

bool FilterExpression::matches(const CompactRow &row) const
{
    return !m_root || evaluate(*m_root, m_columns, row);
}

QList<std::pair<int, QVariant>> FilterExpression::equalities() const
{
    QList<std::pair<int, QVariant>> result;
    for (const Equality &term : equalityTerms())
        result.append({term.column, term.quoted ? QVariant(term.text) : QVariant(*term.number)});
    return result;
}

QList<FilterExpression::Equality> FilterExpression::equalityTerms() const
{
    QList<Equality> result;
    if (!m_root)
        return result;
    bool pure = true;
    collectEqualities(*m_root, m_columns, result, pure);
    return pure ? result : QList<Equality>();
}

QStringList equalityKeys(const QVariant &value)
{
    if (isNullValue(value))
        return {};
    if (isNumber(value))
        return {u"n:"_s + canonicalNumber(value.toDouble()), u"t:"_s + textOf(value).toCaseFolded()};
    const QString text = value.toString();
    QStringList keys{u"t:"_s + text.toCaseFolded()};
    if (const auto number = readNumber(text))
        keys.append(u"n:"_s + canonicalNumber(*number));
    return keys;
}

QString filterLiteral(const QVariant &value)
{
    if (isNullValue(value))
        return u"Null"_s;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? u"True"_s : u"False"_s;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        // The old engine had no infinite or undefined number, so no literal stands for one.
        const double number = value.toDouble();
        if (!std::isfinite(number))
            throw RoutineError(ErrorCode::InvalidProcedureCall);
        // Plain decimals, the shortest that read back equal: the syntax has no exponent.
        return QString::number(number, 'f', QLocale::FloatingPointShortest);
    }
    if (isNumber(value))
        return value.toString();
    return u'\'' + value.toString().replace(u'\'', u"''"_s) + u'\'';
}

QString equalityFilter(const QList<std::pair<QString, QVariant>> &conditions)
{
    QStringList parts;
    for (const auto &[field, value] : conditions)
        parts.append(field + u'=' + filterLiteral(value));
    return parts.join(u" AND "_s);
}

QList<SortKey> parseSort(const QString &text)
{
    QList<SortKey> keys;
    if (text.trimmed().isEmpty())
        return keys;
    const QStringList parts = text.split(u',');
    for (const QString &part : parts) {
        QString item = part.trimmed();
        SortKey key;
        if (item.endsWith(u" DESC"_s, Qt::CaseInsensitive)) {
            key.descending = true;
            item.chop(5);
        } else if (item.endsWith(u" ASC"_s, Qt::CaseInsensitive)) {
            item.chop(4);
        }
        item = item.trimmed();
        if (item.startsWith(u'[') && item.endsWith(u']'))
            item = item.mid(1, item.size() - 2);
        if (item.isEmpty() || (item.contains(u' ') && !part.contains(u'[')))
            throw syntaxError(text);
        key.field = item;
        keys.append(key);
    }
    return keys;
}

} // namespace kx
