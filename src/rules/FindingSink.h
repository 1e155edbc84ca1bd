#pragma once

#include "rules/Finding.h"

#include <QList>

namespace vellumor::rules {

// Where the rules put what they find: every finding with its message, or only
// the number of errors, which fix asks for many times over and which needs no
// message written.
class FindingSink
{
public:
    FindingSink() = default; // counts only
    explicit FindingSink(QList<Finding> &findings)
        : m_findings(&findings)
    { }

    // message() is called only when the finding is kept.
    template<typename Message>
    void add(int column, int row, Severity severity, const char *rule, Message message)
    {
        if (severity == Severity::Error)
            ++m_errors;
        if (m_findings)
            m_findings->append({column, row, severity, QString::fromLatin1(rule), message()});
    }

    // The same for a finding whose cells take some working out: make() is
    // called only when the finding is kept, and returns it whole.
    template<typename Make> void add(Severity severity, Make make)
    {
        if (severity == Severity::Error)
            ++m_errors;
        if (m_findings)
            m_findings->append(make());
    }

    int errors() const { return m_errors; }

private:
    QList<Finding> *m_findings = nullptr;
    int m_errors = 0;
};

} // namespace vellumor::rules
