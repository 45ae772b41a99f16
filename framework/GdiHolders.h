#pragma once
#include <windows.h>

// Small owners of GDI resources, so that what is created is released and
// what is selected into a device context is put back, on every path.

// A handle released by `Release` when the holder goes or takes another.
template <class Handle, class Release>
class COwnedHandle
{
public:
    explicit COwnedHandle(Handle handle = nullptr) : m_handle(handle) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    Handle Get() const { return m_handle; }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            Release()(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle;
};

struct DeleteGdiObject
{
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};

struct DestroyIconHandle
{
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};

using CBrush = COwnedHandle<HBRUSH, DeleteGdiObject>;
using CPen = COwnedHandle<HPEN, DeleteGdiObject>;
using CFont = COwnedHandle<HFONT, DeleteGdiObject>;
using CBitmap = COwnedHandle<HBITMAP, DeleteGdiObject>;
using CIconHolder = COwnedHandle<HICON, DestroyIconHandle>;

// Selects objects into a device context and, when the holder goes, the
// object that was there before the first of them back.
class CSelection
{
public:
    CSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~CSelection() { ::SelectObject(m_dc, m_old); }
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

    void Select(HGDIOBJ object) { ::SelectObject(m_dc, object); }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// An off-screen device context with a bitmap of the given size that
// matches `like`, for drawing without flicker.
class CMemoryDC
{
public:
    CMemoryDC(HDC like, int width, int height)
        : m_dc(::CreateCompatibleDC(like)), m_bitmap(::CreateCompatibleBitmap(like, width, height)),
          m_oldBitmap(::SelectObject(m_dc, m_bitmap.Get()))
    {
    }
    // The bitmap goes back out of the DC before either goes.
    ~CMemoryDC()
    {
        ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap;
};
