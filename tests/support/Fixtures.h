// Files the tests read from tests/fixtures/; one that is missing ends the test program at once,
// naming it, rather than letting a test pass or fail on nothing.
#pragma once

#include <QByteArray>
#include <QString>

namespace Fixtures {

// The full path of a fixture, given relative to tests/fixtures/ ("corpus/rtf/lo-letter.rtf").
QString path(const QString &relative);
// The bytes of that fixture.
QByteArray bytes(const QString &relative);

} // namespace Fixtures
