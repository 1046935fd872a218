// ZipCollections.h: the containers of the ZIP classes, the framework's collections.
#pragma once

#include "framework/AfxString.h"
#include "framework/Collections.h"

template <class TYPE> class CZipArray : public CArray<TYPE, TYPE> {};

template <class KEY, class VALUE> class CZipMap : public CMap<KEY, KEY, VALUE, VALUE> {
public:
    CZipMap() : CMap<KEY, KEY, VALUE, VALUE>(10) {}
};

template <class TYPE> class CZipPtrList : public CList<TYPE, TYPE> {
public:
    CZipPtrList() : CList<TYPE, TYPE>(10) {}
};

class CZipStringArray : public CZipArray<CString> {};
