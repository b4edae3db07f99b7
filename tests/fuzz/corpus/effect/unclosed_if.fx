#if 1
sampler s = sampler_state { Texture = <t>; };
