#pragma once

// The host's internals that tests, fuzz harnesses and benchmarks reach; they include this
// header instead of any private one. Nothing in a module includes it.
#include "host/KvAtomicFileWriter.h"
#include "reflection/KvMemberVisitor.h"
#include "reflection/KvObjectTree.h"
#include "reflection/KvPointerSet.h"
#include "store/KvBase64.h"
#include "store/KvJsonDocumentWriter.h"
#include "store/KvJsonLoadSession.h"
