float4 v = {1, 2;
technique T { pass P { VertexShader = compile vs_2_0 VS(); }
