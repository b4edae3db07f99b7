// The effect compiler without a device: preprocessing (macros, includes through ID3DXInclude,
// conditionals), syntax checks, and error texts that name file and line.
#include "port/d3dx9/d3dx9.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Serves files from memory; names are joined to the including file's folder, and "../" climbs
// one folder, as the engine's include handler does.
class MemoryInclude : public ID3DXInclude {
public:
    std::map<std::string, std::string> files;
    std::string mainFolder;
    std::vector<std::string> opened;

    HRESULT Open(D3DXINCLUDE_TYPE, LPCSTR fileName, LPCVOID parentData, LPCVOID* data, UINT* bytes) override {
        std::string folder = mainFolder;
        for (auto const& [path, text] : files)
            if (parentData == text.data()) folder = path.substr(0, path.rfind('/'));
        std::string name = fileName;
        while (name.compare(0, 3, "../") == 0) {
            folder = folder.substr(0, folder.rfind('/'));
            name = name.substr(3);
        }
        auto it = files.find(folder + "/" + name);
        if (it == files.end()) return E_FAIL;
        opened.push_back(it->first);
        *data = it->second.data();
        *bytes = static_cast<UINT>(it->second.size());
        return S_OK;
    }
    HRESULT Close(LPCVOID) override { return S_OK; }
};

struct CompileResult {
    HRESULT hr;
    std::string compiled;
    std::string errors;
};

CompileResult compile(std::string const& source, D3DXMACRO const* macros = nullptr, ID3DXInclude* include = nullptr) {
    CompileResult r{};
    ID3DXEffectCompiler* compiler = nullptr;
    ID3DXBuffer* errors = nullptr;
    r.hr = D3DXCreateEffectCompiler(source.c_str(), static_cast<UINT>(source.size()), macros, include,
                                    D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY, &compiler, &errors);
    if (errors) {
        r.errors = static_cast<char const*>(errors->GetBufferPointer());
        errors->Release();
    }
    if (compiler) {
        ID3DXBuffer* out = nullptr;
        EXPECT_EQ(compiler->CompileEffect(0, &out, nullptr), S_OK);
        if (out) {
            r.compiled.assign(static_cast<char const*>(out->GetBufferPointer()), out->GetBufferSize());
            out->Release();
        }
        compiler->Release();
    }
    return r;
}

TEST(EffectCompiler, SyntaxErrorNamesTheLine) {
    std::string source =
        "float4 g_Color = {1, 1, 1, 1};\n"
        "technique T\n"
        "{\n"
        "    pass P0\n"
        "    {\n"
        "        AlphaBlendEnable = true\n"  // missing ';'
        "        SrcBlend = SrcAlpha;\n"
        "    }\n"
        "}\n";
    CompileResult r = compile(source);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("memory(7,"), std::string::npos) << r.errors;
    EXPECT_NE(r.errors.find("error"), std::string::npos);
}

TEST(EffectCompiler, UnknownStateAndEnumWordAreErrors) {
    CompileResult r = compile("technique T { pass P { NoSuchState = 1; } }\n");
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("memory(1,"), std::string::npos) << r.errors;
    EXPECT_NE(r.errors.find("NoSuchState"), std::string::npos);
    r = compile("technique T {\n pass P {\n  SrcBlend = Sideways;\n } }\n");
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("memory(3,"), std::string::npos) << r.errors;
}

TEST(EffectCompiler, MacroSelectsBranchAndExpands) {
    std::string source =
        "#if defined(HIGH_QUALITY) && QUALITY_LEVEL > 1\n"
        "float g_Samples = SAMPLES(2);\n"
        "#elif QUALITY_LEVEL == 1\n"
        "float g_Medium = 1;\n"
        "#else\n"
        "float g_Low = 0;\n"
        "#endif\n"
        "technique T { pass P { } }\n";
    std::string withMacro = "#define SAMPLES(n) n##0\n" + source;
    D3DXMACRO high[] = {{"HIGH_QUALITY", nullptr}, {"QUALITY_LEVEL", "3"}, {nullptr, nullptr}};
    CompileResult r = compile(withMacro, high);
    ASSERT_EQ(r.hr, S_OK) << r.errors;
    EXPECT_NE(r.compiled.find("float g_Samples = 20;"), std::string::npos) << r.compiled;
    EXPECT_EQ(r.compiled.find("g_Low"), std::string::npos);
    D3DXMACRO medium[] = {{"QUALITY_LEVEL", "1"}, {nullptr, nullptr}};
    r = compile(withMacro, medium);
    ASSERT_EQ(r.hr, S_OK) << r.errors;
    EXPECT_NE(r.compiled.find("g_Medium"), std::string::npos);
    EXPECT_EQ(r.compiled.find("g_Samples"), std::string::npos);
    r = compile(withMacro);
    ASSERT_EQ(r.hr, S_OK) << r.errors;
    EXPECT_NE(r.compiled.find("g_Low"), std::string::npos);
}

TEST(EffectCompiler, IncludeFromParentFolderThroughHandler) {
    MemoryInclude include;
    include.mainFolder = "data/FX/sub";
    include.files["data/FX/common.fxh"] = "shared float4x4 g_View : VIEW;\n#include \"more/extra.fxh\"\n";
    include.files["data/FX/more/extra.fxh"] = "float g_Extra = 2;\n";
    CompileResult r = compile("#include \"../common.fxh\"\nfloat g_Own;\ntechnique T { pass P { } }\n", nullptr, &include);
    ASSERT_EQ(r.hr, S_OK) << r.errors;
    EXPECT_EQ(include.opened, (std::vector<std::string>{"data/FX/common.fxh", "data/FX/more/extra.fxh"}));
    EXPECT_NE(r.compiled.find("g_View"), std::string::npos);
    EXPECT_NE(r.compiled.find("g_Extra"), std::string::npos);
}

TEST(EffectCompiler, ErrorInIncludedFileNamesThatFile) {
    MemoryInclude include;
    include.mainFolder = "fx";
    include.files["fx/bad.fxh"] = "float a;\nfloat b = ;\n";
    CompileResult r = compile("float x;\n#include \"bad.fxh\"\nfloat y = oops;\n", nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("bad.fxh(2,"), std::string::npos) << r.errors;
}

TEST(EffectCompiler, MissingIncludeAndSelfIncludeFail) {
    MemoryInclude include;
    include.mainFolder = "fx";
    CompileResult r = compile("#include \"missing.fxh\"\n", nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("missing.fxh"), std::string::npos);
    // A file that includes itself stops with an error instead of recursing forever.
    include.files["fx/loop.fxh"] = "#include \"loop.fxh\"\n";
    r = compile("#include \"loop.fxh\"\n", nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("nested too deeply"), std::string::npos) << r.errors;
    // Including itself twice: the first chain that hits the depth limit ends the run, instead of
    // going on through 2^32 includes.
    include.files["fx/twice.fxh"] = "#include \"twice.fxh\"\n#include \"twice.fxh\"\n";
    include.opened.clear();
    r = compile("#include \"twice.fxh\"\n", nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_LE(include.opened.size(), 64u);
    // Distinct files including the next one twice, each chain within the depth limit: the number
    // of includes in one compile is bounded.
    for (int i = 0; i < 20; ++i) {
        std::string next = "#include \"f" + std::to_string(i + 1) + ".fxh\"\n";
        include.files["fx/f" + std::to_string(i) + ".fxh"] = next + next;
    }
    include.files["fx/f20.fxh"] = "float x;\n";
    include.opened.clear();
    r = compile("#include \"f0.fxh\"\n", nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("includes"), std::string::npos) << r.errors.substr(0, 200);
    EXPECT_LE(include.opened.size(), 300u);
    // Without a handler an include cannot be opened.
    r = compile("#include \"x.fxh\"\n");
    EXPECT_TRUE(FAILED(r.hr));
}

TEST(EffectCompiler, ConditionalErrors) {
    EXPECT_TRUE(FAILED(compile("#if 1\nfloat a;\n").hr));
    EXPECT_TRUE(FAILED(compile("#endif\n").hr));
    CompileResult r = compile("#error stop here\n");
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("memory(1,1): error: #error stop here"), std::string::npos) << r.errors;
    EXPECT_TRUE(FAILED(compile("#if 1 +\n#endif\n").hr));
    EXPECT_TRUE(FAILED(compile("#if 1 / 0\n#endif\n").hr));
    // Overflowing arithmetic wraps instead of trapping.
    EXPECT_EQ(compile("#if (-9223372036854775807 - 1) / -1 < 0 && 9223372036854775807 + 1 < 0\n#endif\n").hr, S_OK);
    EXPECT_EQ(compile("#if -(-9223372036854775807 - 1) * 3 % -1 == 0\n#endif\n").hr, S_OK);
}

TEST(EffectCompiler, CommentsContinuationsAndSelfReferencingMacros) {
    std::string source =
        "#define A A + 1 /* comment */\n"
        "#define LONG 1 + \\\n  2\n"
        "float g_a = A; // stays A + 1, no endless expansion\n"
        "/* a block comment\n   over two lines */ float g_b = LONG;\n";
    CompileResult r = compile(source);
    // "A + 1" is no number: the parser reports it on line 4.
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("memory(4,"), std::string::npos) << r.errors;
    std::string fine = "#define LONG 1 + \\\n  2\n/* block\n comment */ float g_b = 3;\nfloat g_c = 4;\n";
    r = compile(fine);
    ASSERT_EQ(r.hr, S_OK) << r.errors;
}

// Pass shaders name glsl_vertex/glsl_pixel blocks (compiling ones are in the truncation test).
TEST(EffectCompiler, PassShadersMustExistAndBeGlsl) {
    CompileResult r = compile("technique T { pass P { VertexShader = Missing; PixelShader = Missing; } }\n");
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("Missing"), std::string::npos);
    r = compile("technique T { pass P { VertexShader = compile vs_2_0 VS(); } }\n");
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("not supported"), std::string::npos);
}

TEST(EffectCompiler, RunawayInputFailsInsteadOfHanging) {
    std::string bomb = "#define A0 x x\n";
    for (int i = 1; i < 40; ++i)
        bomb += "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) + " A" + std::to_string(i - 1) + "\n";
    bomb += "float f = A39;\n";
    CompileResult r = compile(bomb);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("too large"), std::string::npos) << r.errors.substr(0, 200);
    // Doubling macros that stay under the line budget, used on many lines: the budget of the
    // file (and of the compile, for includes) stops them early.
    std::string lines = "#define B0 x x\n";
    for (int i = 1; i < 15; ++i)
        lines += "#define B" + std::to_string(i) + " B" + std::to_string(i - 1) + " B" + std::to_string(i - 1) + "\n";
    for (int i = 0; i < 2000; ++i) lines += "B14\n";
    r = compile(lines);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("of the file too large"), std::string::npos) << r.errors.substr(0, 200);
    MemoryInclude include;
    include.mainFolder = "fx";
    include.files["fx/many.fxh"] = "B14\nB14\nB14\nB14\n";
    std::string manyIncludes = lines.substr(0, lines.find("B14\n"));
    for (int i = 0; i < 100; ++i) manyIncludes += "#include \"many.fxh\"\n";
    r = compile(manyIncludes, nullptr, &include);
    EXPECT_TRUE(FAILED(r.hr));
    EXPECT_NE(r.errors.find("of the effect too large"), std::string::npos) << r.errors.substr(0, 200);
    std::string nested = "float4 v = " + std::string(100000, '{') + "1" + std::string(100000, '}') + ";\n";
    EXPECT_TRUE(FAILED(compile(nested).hr));
}

TEST(EffectCompiler, InitializerSizesAreChecked) {
    EXPECT_TRUE(FAILED(compile("float3 v = {1, 2};\n").hr));
    EXPECT_EQ(compile("float3 v = {1, 2, 3};\nfloat4 w = float4(1, 2, 3, 4);\nfloat2 s = 5;\n").hr, S_OK);
    EXPECT_TRUE(FAILED(compile("float v; float v;\n").hr));
    EXPECT_TRUE(FAILED(compile("unknowntype v;\n").hr));
    // Values out of range saturate instead of overflowing.
    EXPECT_EQ(compile("int big = 1e30;\nint small = -1e30;\nfloat inf = 1e40;\n"
                      "technique T { pass P { AlphaRef = 1e30; StencilRef = -5e20; } }\n").hr,
              S_OK);
}

// Every prefix of a valid effect either compiles or fails with a message: no crash, no hang.
TEST(EffectCompiler, EveryTruncationIsHandled) {
    std::string source =
        "#define N 3\n"
        "shared float4x4 g_View : VIEW < string Name = \"v\"; >;\n"
        "float2 g_Offsets[N] = {1, 2, 3, 4, 5, 6};\n"
        "texture g_T;\n"
        "sampler s = sampler_state { Texture = <g_T>; MinFilter = Linear; AddressU = Clamp; };\n"
        "glsl_vertex VS { void main() { gl_Position = vec4(0); } }\n"
        "glsl_pixel PS { out vec4 c; void main() { c = vec4(1); /* } */ } }\n"
        "technique T < int K = 1; > { pass P < float f = 0.5; > { ZEnable = false; ColorWriteEnable = Red | Green;\n"
        "  Sampler[0] = <s>; VertexShader = VS; PixelShader = PS; } }\n";
    ASSERT_EQ(compile(source).hr, S_OK) << compile(source).errors;
    for (std::size_t n = 0; n < source.size(); ++n) {
        CompileResult r = compile(source.substr(0, n));
        if (FAILED(r.hr)) {
            EXPECT_FALSE(r.errors.empty()) << n;
        }
    }
}

}  // namespace
