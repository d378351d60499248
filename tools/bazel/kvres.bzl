"""Runs `kvres` as one hermetic action per source and lays the results out as project folders.

Each import action reads its source, the saved project it is given and the tools, and writes a
folder of its own; nothing else is visible to it (no clock, no absolute path, no network), so
its outputs are a function of its declared inputs and can be cached and run anywhere.
"""

KvresProjectInfo = provider(
    doc = "A project folder, made by kvres_project.",
    fields = {"folder": "the tree artifact holding the project files and blobs"},
)

KvresImportInfo = provider(
    doc = "The per-source output folders of a kvres_import, in the order of its sources.",
    fields = {"folders": "list of tree artifacts"},
)

def _root_folder(file, root):
    """The execution path of `root`, a folder named relative to the package of `file`."""
    parts = [part for part in [file.root.path, file.owner.workspace_root, file.owner.package, root] if part]
    return "/".join(parts)

def _relative_to(file, folder):
    if not file.path.startswith(folder + "/"):
        fail("%s is not below the root %s" % (file.path, folder))
    return file.path[len(folder) + 1:]

_TOOL_ATTRS = {
    "_kvres": attr.label(
        default = "@kvres_tools//:kvres",
        executable = True,
        allow_single_file = True,
        cfg = "exec",
    ),
    "_plugin": attr.label(default = "@kvres_tools//:plugin", allow_single_file = True, cfg = "exec"),
    "_game_module": attr.label(default = "@kvres_tools//:game_module", allow_single_file = True, cfg = "exec"),
    "_libraries": attr.label(default = "@kvres_tools//:libraries", cfg = "exec"),
}

def _kvres_import_impl(ctx):
    project = ctx.attr.project[KvresProjectInfo].folder if ctx.attr.project else None
    tools = ctx.files._libraries + [ctx.file._plugin, ctx.file._game_module]
    folders = []
    for source in ctx.files.srcs:
        root = _root_folder(source, ctx.attr.root)
        folder = ctx.actions.declare_directory("%s/%s" % (ctx.label.name, _relative_to(source, root)))
        args = ctx.actions.args()
        args.add("--plugin", ctx.file._plugin)
        args.add("--game-module", ctx.file._game_module)
        args.add("import-one", source)
        args.add("--root", root)
        args.add("--out", folder.path)
        if project:
            args.add("--project", project.path)
        if ctx.attr.type:
            args.add("--type", ctx.attr.type)
        ctx.actions.run(
            executable = ctx.executable._kvres,
            arguments = [args],
            inputs = [source] + ([project] if project else []),
            tools = tools,
            outputs = [folder],
            mnemonic = "KvresImport",
            progress_message = "Importing %s" % source.short_path,
        )
        folders.append(folder)
    return [DefaultInfo(files = depset(folders)), KvresImportInfo(folders = folders)]

kvres_import = rule(
    implementation = _kvres_import_impl,
    doc = "Imports each source on its own into a folder of its own.",
    attrs = dict(_TOOL_ATTRS, **{
        "srcs": attr.label_list(allow_files = True, mandatory = True),
        "root": attr.string(doc = "The folder resource names are relative to, from the sources' package."),
        "project": attr.label(
            providers = [KvresProjectInfo],
            doc = "The saved project references resolve against and sources update.",
        ),
        "type": attr.string(doc = "Resource type for an extension several types share."),
    }),
)

def _kvres_project_impl(ctx):
    folder = ctx.actions.declare_directory(ctx.label.name)
    args = ctx.actions.args()
    args.add(folder.path)
    inputs = []
    for base in ctx.attr.bases:
        base_folder = base[KvresProjectInfo].folder
        args.add("--base", base_folder.path)
        inputs.append(base_folder)
    for file in ctx.files.srcs:
        args.add("--file", file)
        args.add(_relative_to(file, _root_folder(file, ctx.attr.root)))
        inputs.append(file)
    for imported in ctx.attr.imports:
        for import_folder in imported[KvresImportInfo].folders:
            args.add("--import", import_folder.path)
            inputs.append(import_folder)
    ctx.actions.run(
        executable = ctx.executable._assemble,
        arguments = [args],
        inputs = inputs,
        outputs = [folder],
        mnemonic = "KvresProject",
        progress_message = "Assembling the project %s" % ctx.label.name,
    )
    return [DefaultInfo(files = depset([folder])), KvresProjectInfo(folder = folder)]

kvres_project = rule(
    implementation = _kvres_project_impl,
    doc = """A project folder: the bases, then saved project files, then the imports' folders laid
over one another. Imports may replace what the bases and files hold (a source updates a saved
resource) but not what another import wrote.""",
    attrs = {
        "bases": attr.label_list(providers = [KvresProjectInfo]),
        "srcs": attr.label_list(allow_files = True, doc = "Saved project files."),
        "root": attr.string(doc = "The folder of the project files, from their package."),
        "imports": attr.label_list(providers = [KvresImportInfo]),
        "_assemble": attr.label(
            default = "@kvres_rules//:assemble_project.sh",
            executable = True,
            allow_single_file = True,
            cfg = "exec",
        ),
    },
)
