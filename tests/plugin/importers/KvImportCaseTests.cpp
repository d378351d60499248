#include "support/KvImportCases.h"

// The plug-in's importers, each source as tests/data/import describes it.
TEST_P(ImportCase, GivesWhatTheCaseExpects)
{
    Run(PluginHost());
}

INSTANTIATE_TEST_SUITE_P(Sources, ImportCase, ::testing::ValuesIn(ImportCase::All("import")),
                         ImportCase::NameOf);
