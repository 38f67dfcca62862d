#include "InvalidArgument.h"

const char* CInvalidArgException::what() const noexcept
{
    return "An invalid argument was encountered.";
}

void AfxThrowInvalidArgException()
{
    throw CInvalidArgException();
}
