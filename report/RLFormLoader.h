#pragma once
// Loading a layout: properties first, then one completion step for every control.

#include <QPointer>

// Builds a layout as a form loader does: report controls created for the owner while a loader
// lives start in the loading state, so that properties can be set in any order without sizes
// being adjusted or children arranged; Finish() (or the destructor) then completes every one of
// them in creation order.
class TRLFormLoader
{
public:
    explicit TRLFormLoader(QObject *owner);
    ~TRLFormLoader();
    TRLFormLoader(const TRLFormLoader &) = delete;
    TRLFormLoader &operator=(const TRLFormLoader &) = delete;

    void Finish();
    static bool IsLoadingOwner(const QObject *owner);

private:
    QPointer<QObject> m_owner;
    const QObject *m_key; // the owner's address, to leave the list even if the owner is gone
    bool m_finished = false;
};
