#pragma once
// The framework's invalid-argument error: every read of a string list or array by index
// is range-checked, and an index outside the list ends the handler in progress. The
// application catches it at the event-dispatch boundary (CWinApp::notify).

#include <exception>

#include <QtGlobal>

class CInvalidArgException : public std::exception
{
public:
    const char* what() const noexcept override;
};

[[noreturn]] void AfxThrowInvalidArgException();

// list[index], or the invalid-argument error when index is outside the list.
template <class List>
decltype(auto) CheckedAt(List& list, qsizetype index)
{
    if (index < 0 || index >= static_cast<qsizetype>(list.size()))
        AfxThrowInvalidArgException();
    return list[index];
}
