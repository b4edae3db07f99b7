<FEHLT NAME="FEHLT">
	<KARTEN_FILE FILE="tests\game\cards\data\gibt_es_nicht.sol"/>
	<KARTEN_FILE/>
	<STAPEL NAME="DANACH"/>
</FEHLT>
