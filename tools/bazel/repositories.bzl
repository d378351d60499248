"""The kvres tools as a repository: an install made by `make install PREFIX=...` (bin/kvres, lib/)."""

_BUILD = """
exports_files(["bin/kvres"])
alias(name = "kvres", actual = "bin/kvres", visibility = ["//visibility:public"])
alias(name = "plugin", actual = "lib/libKvResourcePlugin_Core.so", visibility = ["//visibility:public"])
alias(name = "game_module", actual = "lib/libKvGameTypes.so", visibility = ["//visibility:public"])
filegroup(name = "libraries", srcs = glob(["lib/*.so*"]), visibility = ["//visibility:public"])
"""

def _kvres_tools_impl(rctx):
    prefix = rctx.os.environ.get("KVRES_PREFIX", "")
    if prefix:
        prefix = rctx.path(prefix)
    else:
        prefix = rctx.path(Label("@//:WORKSPACE")).dirname.get_child(rctx.attr.default_prefix)
    kvres = prefix.get_child("bin").get_child("kvres")
    if not kvres.exists:
        fail("no kvres install at %s: run `make install PREFIX=...` and set --repo_env=KVRES_PREFIX=..." % prefix)
    rctx.symlink(kvres, "bin/kvres")
    for library in prefix.get_child("lib").readdir():
        rctx.symlink(library, "lib/" + library.basename)
    rctx.file("BUILD.bazel", _BUILD)

kvres_tools_repository = repository_rule(
    implementation = _kvres_tools_impl,
    doc = "Links the tools of the install named by KVRES_PREFIX, or of default_prefix.",
    attrs = {"default_prefix": attr.string(doc = "An install relative to the main workspace.")},
    environ = ["KVRES_PREFIX"],
    local = True,
)
