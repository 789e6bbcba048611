#pragma once

// The tests make and read their pictures with GDI+, apart from the
// program's own codecs: started once before the tests, stopped after.
class GdiplusSession {
public:
    GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession();

    bool started() const { return token_ != 0; }

private:
    unsigned long long token_ = 0;
};
