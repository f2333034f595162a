#include "projects/project_factory.h"

#include "projects/kind1/project1.h"
#include "projects/kind2/project2.h"
#include "projects/kind3/project3.h"
#include "projects/kind4/project4.h"
#include "projects/kind5/project5.h"
#include "projects/kind6/project6.h"
#include "projects/kind7/project7.h"
#include "projects/kind8/project8.h"

std::unique_ptr<CProject> NewProjectOfKind(int kind, int id) {
    switch (kind) {
    case 1:
        return std::make_unique<CProject1>(id);
    case 2:
        return std::make_unique<CProject2>(id);
    case 3:
        return std::make_unique<CProject3>(id);
    case 4:
        return std::make_unique<CProject4>(id);
    case 5:
        return std::make_unique<CProject5>(id);
    case 6:
        return std::make_unique<CProject6>(id);
    case 7:
        return std::make_unique<CProject7>(id);
    case 8:
        return std::make_unique<CProject8>(id);
    default:
        return nullptr;
    }
}
