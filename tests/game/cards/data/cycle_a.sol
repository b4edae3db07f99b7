<ZYKLUS_A NAME="ZYKLUS_A">
	<KARTEN_FILE FILE="tests\game\cards\data\cycle_b.sol"/>
	<STAPEL NAME="A"/>
</ZYKLUS_A>
