#include "host/KvLogCapture.h"

KvLogCapture::KvLogCapture()
{
    KvLog::AddInterface(this);
}

KvLogCapture::~KvLogCapture()
{
    KvLog::RemoveInterface(this);
}

void KvLogCapture::Write(const char*, uint32_t, const char* message)
{
    m_aMessages.push_back(message);
}
