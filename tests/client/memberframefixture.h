#pragma once
// A member frame on one branch of the demo records, following a branch tree
// of its own as it follows the main window's.
#include "members/memberframe.h"
#include "org/branchtree.h"

#include <memory>
#include <vector>

namespace corvexa::testing {

struct MemberFrameOnBranch {
    client::BranchTreeWidget tree{0};
    std::unique_ptr<client::TBranchTree> branches;
    std::unique_ptr<client::TFrameDY> frame;
    // What watches the frame (model testers) goes before it.
    std::vector<std::unique_ptr<QObject>> watchers;
};

// The frame prepared as the main window prepares it, on the tree's branch
// with the given position.
inline std::unique_ptr<MemberFrameOnBranch> memberFrameOn(client::TDM& dm, bool staff, int branch) {
    auto f = std::make_unique<MemberFrameOnBranch>();
    f->branches = std::make_unique<client::TBranchTree>(
        dm, &f->tree, staff ? client::kStaffBranches : client::kStudentBranches);
    f->branches->build();
    f->tree.setCurrentItem(f->tree.topLevelItem(0)->child(branch));
    f->frame = std::make_unique<client::TFrameDY>(
        dm, staff ? client::staffMembers() : client::studentMembers(), &f->tree);
    f->frame->FrameInit();
    return f;
}

} // namespace corvexa::testing
