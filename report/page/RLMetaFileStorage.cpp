// TRLGraphicStorage: the page file, the page offsets and the five-page cache.
#include "report/page/RLMetaFile.h"

#include "report/base/RLExceptions.h"
#include "report/base/RLTempFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cerrno>

namespace {

const QString titleKey = QStringLiteral("Title");
const QString orientationKey = QStringLiteral("Orientation");
const QString paperWidthKey = QStringLiteral("PaperWidth");
const QString paperHeightKey = QStringLiteral("PaperHeight");
const QString firstPageKey = QStringLiteral("FirstPageNumber");
const QString lastPageKey = QStringLiteral("LastPageNumber");

} // namespace

TRLGraphicStorage::TRLGraphicStorage(QObject *owner) : QObject(owner) {}

TRLGraphicStorage::~TRLGraphicStorage()
{
    std::vector<TRLGraphicSurface *> cache;
    cache.swap(m_cache);
    for (TRLGraphicSurface *surface : cache) {
        surface->m_storage = nullptr;
        delete surface;
    }
    releaseFile();
}

void TRLGraphicStorage::releaseFile()
{
    if (!m_pageFile)
        return;
    m_pageFile->close();
    m_pageFile.reset();
    DeleteRLTempFile(m_fileName);
    m_fileName.clear();
}

void TRLGraphicStorage::Add(TRLGraphicSurface *surface)
{
    surface->SetStorage(this);
    const bool cached = std::find(m_cache.begin(), m_cache.end(), surface) != m_cache.end();
    // The store took the surface: on a full disk (here or while evicting) it must not leak it.
    std::unique_ptr<TRLGraphicSurface> taken(cached ? nullptr : surface);
    writePage(surface);
    if (taken) {
        addToCache(surface);
        taken.release();
    }
}

void TRLGraphicStorage::writePage(TRLGraphicSurface *surface)
{
    if (!m_pageFile) {
        m_pageFile = CreateRLTempFile();
        m_fileName = m_pageFile->fileName();
    }
    // The length and the page go out in one write: the file is unbuffered.
    QByteArray record(4, '\0');
    record += surface->SaveToBytes();
    if (record.size() - 4 > 0x7FFFFFFF)
        throw TRLException(QStringLiteral("Page too large: ") + m_fileName);
    qToLittleEndian(qint32(record.size() - 4), record.data());

    const qint64 offset = m_pageFile->size();
    errno = 0;
    if (!m_pageFile->seek(offset) || m_pageFile->write(record) != record.size()) {
        const int errorNumber = errno;
        const QString error = m_pageFile->errorString();
        m_pageFile->resize(offset); // no half page stays behind
        if (RLNoSpaceIn(QFileInfo(m_fileName).absolutePath(), errorNumber))
            throw TRLException(RLTempFolderFullMessage());
        throw TRLException(error + QStringLiteral(": ") + m_fileName);
    }
    // The offset is noted only once the page is complete on disk.
    const int index = surface->PageIndex();
    if (index < 0 || index >= PageCount()) {
        m_pageOffsets.push_back(offset);
        surface->SetPageIndex(PageCount() - 1);
    } else {
        m_pageOffsets[size_t(index)] = offset; // the older copy stays in the file, unreferenced
    }
    surface->SetModified(false);
}

void TRLGraphicStorage::addToCache(TRLGraphicSurface *surface)
{
    while (m_cache.size() >= size_t(CacheSize)) {
        TRLGraphicSurface *oldest = m_cache.front();
        m_cache.erase(m_cache.begin());
        std::unique_ptr<TRLGraphicSurface> release(oldest);
        oldest->m_storage = nullptr;
        if (oldest->Modified()) {
            oldest->m_storage = this;
            writePage(oldest);
            oldest->m_storage = nullptr;
        }
    }
    m_cache.push_back(surface);
}

void TRLGraphicStorage::takeFromCache(TRLGraphicSurface *surface)
{
    const auto it = std::find(m_cache.begin(), m_cache.end(), surface);
    if (it != m_cache.end())
        m_cache.erase(it);
}

TRLGraphicSurface *TRLGraphicStorage::Pages(int n)
{
    if (n < 0 || n >= PageCount())
        return nullptr;
    for (TRLGraphicSurface *surface : m_cache)
        if (surface->PageIndex() == n)
            return surface;
    return loadPage(n);
}

TRLGraphicSurface *TRLGraphicStorage::loadPage(int n)
{
    if (!m_pageFile)
        return nullptr;
    try {
        const qint64 offset = m_pageOffsets[size_t(n)];
        const qint64 fileSize = m_pageFile->size();
        char lengthBytes[4];
        if (offset < 0 || offset > fileSize - 4 || !m_pageFile->seek(offset) || m_pageFile->read(lengthBytes, 4) != 4)
            return nullptr;
        const qint32 length = qFromLittleEndian<qint32>(lengthBytes);
        if (length < 0 || length > fileSize - offset - 4)
            return nullptr;
        // One read for the whole page: the file is unbuffered and a page is read field by field.
        QByteArray page(length, Qt::Uninitialized);
        if (m_pageFile->read(page.data(), length) != length)
            return nullptr;
        auto surface = std::make_unique<TRLGraphicSurface>();
        surface->m_storage = this;
        surface->SetPageIndex(n);
        surface->LoadFromBytes(page);
        addToCache(surface.get());
        return surface.release();
    } catch (...) {
        // A page that cannot be read is no page: output stops there.
        return nullptr;
    }
}

void TRLGraphicStorage::Clear()
{
    std::vector<TRLGraphicSurface *> cache;
    cache.swap(m_cache);
    for (TRLGraphicSurface *surface : cache) {
        surface->m_storage = nullptr;
        delete surface;
    }
    if (m_pageFile)
        m_pageFile->resize(0);
    m_pageOffsets.clear();
    m_header.Clear();
}

void TRLGraphicStorage::Link(QObject *filter)
{
    if (!filter || m_filters.contains(filter))
        return;
    m_filters.append(filter);
    connect(filter, &QObject::destroyed, this, [this, filter] { Unlink(filter); });
}

void TRLGraphicStorage::Unlink(QObject *filter)
{
    if (!m_filters.removeOne(filter))
        return;
    disconnect(filter, nullptr, this, nullptr);
    // Nobody else keeps a store without owner: the last filter to let go releases it.
    if (m_filters.isEmpty() && !parent())
        delete this;
}

QString TRLGraphicStorage::Title() const
{
    return m_header.Value(titleKey);
}

void TRLGraphicStorage::SetTitle(const QString &title)
{
    m_header.SetValue(titleKey, title);
}

int TRLGraphicStorage::Orientation() const
{
    return m_header.IntValue(orientationKey, 1);
}

void TRLGraphicStorage::SetOrientation(int orientation)
{
    m_header.SetIntValue(orientationKey, orientation);
}

double TRLGraphicStorage::PaperWidth() const
{
    return m_header.FloatValue(paperWidthKey);
}

void TRLGraphicStorage::SetPaperWidth(double mm)
{
    m_header.SetFloatValue(paperWidthKey, mm);
}

double TRLGraphicStorage::PaperHeight() const
{
    return m_header.FloatValue(paperHeightKey);
}

void TRLGraphicStorage::SetPaperHeight(double mm)
{
    m_header.SetFloatValue(paperHeightKey, mm);
}

int TRLGraphicStorage::FirstPageNumber() const
{
    return m_header.IntValue(firstPageKey, 0);
}

void TRLGraphicStorage::SetFirstPageNumber(int number)
{
    m_header.SetIntValue(firstPageKey, number);
}

int TRLGraphicStorage::LastPageNumber() const
{
    return m_header.IntValue(lastPageKey, 0);
}

void TRLGraphicStorage::SetLastPageNumber(int number)
{
    m_header.SetIntValue(lastPageKey, number);
}
