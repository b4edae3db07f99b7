#if defined(N) && N > 2
float a[N];
#elif FLAG
#error no
#else
#endif
#define CAT(a,b) a##b
#define STR(x) #x
float CAT(g_,v) = 1;
string s = STR(hello);
technique T { pass P { ZEnable = false; } }
