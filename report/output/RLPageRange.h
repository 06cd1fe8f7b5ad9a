#pragma once
// The page range that print and save parameters both carry: the pages a report may give and the
// pages the user chose, 1-based.

class TRLPageRangeParams
{
public:
    int MaxPage() const { return m_maxPage; }
    // A ToPage that stood at the old maximum follows it.
    void SetMaxPage(int value)
    {
        if (m_toPage == m_maxPage)
            m_toPage = value;
        m_maxPage = value;
    }
    int MinPage() const { return m_minPage; }
    void SetMinPage(int value) { m_minPage = value; }
    int FromPage() const { return m_fromPage; }
    void SetFromPage(int value) { m_fromPage = value; }
    int ToPage() const { return m_toPage; }
    void SetToPage(int value) { m_toPage = value; }

protected:
    TRLPageRangeParams(int minPage, int maxPage, int fromPage, int toPage)
        : m_maxPage(maxPage), m_minPage(minPage), m_fromPage(fromPage), m_toPage(toPage) {}
    void SetRange(int minPage, int maxPage, int fromPage, int toPage)
    {
        m_minPage = minPage;
        m_maxPage = maxPage;
        m_fromPage = fromPage;
        m_toPage = toPage;
    }

private:
    int m_maxPage;
    int m_minPage;
    int m_fromPage;
    int m_toPage;
};
