#include "report/RLFormLoader.h"

#include "report/RLReport.h"

#include <QList>

namespace {
QList<const QObject *> &loadingOwners()
{
    static QList<const QObject *> owners;
    return owners;
}
} // namespace

TRLFormLoader::TRLFormLoader(QObject *owner) : m_owner(owner), m_key(owner)
{
    loadingOwners().append(owner);
}

TRLFormLoader::~TRLFormLoader()
{
    Finish();
}

bool TRLFormLoader::IsLoadingOwner(const QObject *owner)
{
    return owner && loadingOwners().contains(owner);
}

void TRLFormLoader::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    loadingOwners().removeOne(m_key);
    if (!m_owner)
        return;
    QList<QPointer<TRLCustomControl>> controls;
    for (QObject *child : m_owner->children())
        if (auto *c = qobject_cast<TRLCustomControl *>(child))
            controls.append(c);
    // Every flag goes first, so that no control completes against a half-loaded neighbour.
    for (auto &c : controls)
        if (c)
            c->m_loading = false;
    for (auto &c : controls)
        if (c)
            c->Loaded();
}
