// A thousand damaged datagrams of every message type, fed to a machine in every role: nothing
// crashes, what must hold always holds, and a datagram whose layout is not valid changes
// nothing and makes the machine send nothing.

#include <gtest/gtest.h>

#include <ostream>

#include "tests/net/NetDatagramCases.h"

void PrintTo(const NetMsgInfo& info, std::ostream* out)
{
    *out << info.name;
}

namespace
{
constexpr size_t kCasesPerType = 1000;

class MalformedDatagramTest : public ::testing::TestWithParam<NetMsgInfo>
{
};

TEST_P(MalformedDatagramTest, ChangesNothingOutsideTheRules)
{
    const NetMsgType type = GetParam().type;
    const std::vector<Datagram> cases =
        MalformedVariants(type, kCasesPerType, static_cast<uint32_t>(type));
    for (const NetRole role : kNetRoles)
    {
        SCOPED_TRACE(RoleName(role));
        RoleWorld world(role);
        ASSERT_TRUE(world.IsReady());
        size_t rejected = 0;
        for (size_t index = 0; index < cases.size(); ++index)
        {
            const Datagram& datagram = cases[index];
            const NetSessionSnapshot before = world.Target().Snapshot();
            const uint64_t sentBefore = world.DatagramsSent();
            world.Inject(datagram);
            const NetSessionSnapshot after = world.Target().Snapshot();
            const std::string broken = BrokenInvariant(after);
            ASSERT_EQ(broken, "") << "case " << index;
            if (!IsWellFormedNetDatagram(datagram))
            {
                ++rejected;
                ASSERT_TRUE(after == before) << "case " << index << " changed the session";
                ASSERT_EQ(world.DatagramsSent(), sentBefore + 1)
                    << "case " << index << " was answered";
            }
        }
        EXPECT_GE(rejected, 10u) << "at least the damaged lengths are malformed";
    }
}

INSTANTIATE_TEST_SUITE_P(Types, MalformedDatagramTest, ::testing::ValuesIn(kNetMessages),
                         [](const ::testing::TestParamInfo<NetMsgInfo>& info)
                         { return std::string(info.param.name); });
}  // namespace
