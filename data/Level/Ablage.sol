<ABLAGE>
	<!-- Where the removing power lays the cards it takes ("REMOVE_ZIELSTAPEL_NAME" is "STAPEL_ABLAGE"
	     by default): a pile placed above the screen, so a removed card flies off the table; the
	     table is fitted without it. Not a goal: a removed card scores nothing and charges no god.
	     Included after the piles of the variant. -->
	<STAPEL NAME="STAPEL_ABLAGE" VORLAGE="ABLAGE" IS_ZIELSTAPEL="NEIN" POSITION_REL="0 0"/>
	<DYNAMIC_STAPEL_POSES>
		<STAPEL_POS NAME="STAPEL_ABLAGE" POSITION_REL="0.5 -0.5"/>
	</DYNAMIC_STAPEL_POSES>
</ABLAGE>
