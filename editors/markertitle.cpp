#include "editors/markertitle.h"

CMarkerTitle CMarkerTitle::parse(const QString &title)
{
    CMarkerTitle out;
    const QString text = title.trimmed();
    const qsizetype dash = text.lastIndexOf(u'-');
    if (dash < 0) {
        out.name = text;
        return out;
    }
    out.name = text.left(dash);
    out.key = text.mid(dash + 1);
    out.hasKey = !out.key.isEmpty();
    return out;
}
