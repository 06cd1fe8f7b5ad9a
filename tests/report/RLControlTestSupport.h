#pragma once
// Helpers shared by the tests of the report controls: readable rectangles in failure messages
// and the recorded objects of one kind.

#include "report/base/RLTypes.h"
#include "report/page/RLMetaFile.h"

#include <QList>
#include <QtTest>

inline char *toString(const TRLRect &r)
{
    return QTest::toString(QString("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}

// The objects of type T recorded on a surface, in recording order.
template <class T>
QList<T *> objectsOf(const TRLGraphicSurface *s)
{
    QList<T *> list;
    for (int i = 0; i < s->ObjectCount(); ++i)
        if (auto *o = dynamic_cast<T *>(s->Objects(i)))
            list << o;
    return list;
}
