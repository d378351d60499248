#include "IO/KvIOStream_Memory.h"
#include "TypeManager/KvTypeManager.h"
#include "support/KvTestReports.h"

#include <array>
#include <gtest/gtest.h>

namespace
{
constexpr const char* kFile = "IO\\KvIOStream_Memory";
}

TEST(MemoryStream, ReadAtEnd_ShortThenNothing)
{
    std::array<uint8_t, 10> buffer = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    KvIOStream_Memory stream(buffer.data(), 10);
    EXPECT_FALSE(stream.IsEOF());
    ASSERT_EQ(stream.Seek(8), 0);
    std::array<uint8_t, 5> out = {};
    EXPECT_EQ(stream.Read(out.data(), 5), 2u);
    EXPECT_EQ(out[0], 8);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(out[2], 0);
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(stream.Read(out.data(), 5), 0u);
    EXPECT_EQ(stream.Tell(), 10u);
}

TEST(MemoryStream, WriteAtEnd_DropsExcess)
{
    std::array<uint8_t, 12> buffer = {};
    buffer[10] = 0xEE;
    KvIOStream_Memory stream(buffer.data(), 10);
    stream.Seek(8);
    const std::array<uint8_t, 5> data = {1, 2, 3, 4, 5};
    EXPECT_EQ(stream.Write(data.data(), 5), 2u);
    EXPECT_EQ(buffer[8], 1);
    EXPECT_EQ(buffer[9], 2);
    // Nothing beyond the stream's size is touched.
    EXPECT_EQ(buffer[10], 0xEE);
    EXPECT_EQ(stream.GetSize(), 10u);
}

TEST(MemoryStream, SeekBeyondEnd_ReadsAndWritesNothing)
{
    std::array<uint8_t, 4> buffer = {};
    KvIOStream_Memory stream(buffer.data(), 4);
    stream.Seek(100);
    uint8_t byte = 0x55;
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_EQ(stream.Write(&byte, 1), 0u);
    // Positions are 32-bit: a 64-bit seek keeps the low half.
    stream.Seek(0x100000002ull);
    EXPECT_EQ(stream.Tell(), 2u);
}

TEST(MemoryStream, NullBuffer_Fatal)
{
    EXPECT_FATAL(KvIOStream_Memory(nullptr, 4), kFile, "KvIOStream_Memory::KvIOStream_Memory", 25,
                 "No buffer specified");
}

TEST(MemoryStream, CreatedByName_HoldsNothingAndCannotSeek)
{
    KvTypeInfo* pType = KvTypeManager::GetInstance()->FindType("KvIOStream_Memory");
    ASSERT_NE(pType, nullptr);
    EXPECT_EQ(pType->m_pParent->m_strName, "KvIOStream");
    auto* pStream = static_cast<KvIOStream_Memory*>(pType->CreateInstance());
    ASSERT_NE(pStream, nullptr);
    uint8_t byte = 0;
    EXPECT_EQ(pStream->Read(&byte, 1), 0u);
    EXPECT_TRUE(pStream->IsEOF());
    EXPECT_FATAL(pStream->Seek(0), kFile, "KvIOStream_Memory::Seek", 48, "No buffer specified!");
    delete pStream;
}
