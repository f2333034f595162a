Kvar historicalStartMonth = 10;var criteria = new Array();
criteria[0] = new kpCriterion('red shoes', 'f1', '12,100', 'f3', 'f4', 'f5', '0.87', '$1.25', 'f8', '3 - 5', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_EXACT);
criteria[1] = new kpCriterion('[green shoes]', 'f1', '880', 'f3', 'f4', 'f5', '0.4', '$0.60', 'f8', '1 - 2', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_BROAD);
criteria[2] = new kpCriterion('green shoes', 'f1', '590', 'f3', 'f4', 'f5', '0.3', '$0.45', 'f8', '1 - 2', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_EXACT);
var group = new kpCriteriaGroup('Keywords related to term(s) entered', new kpCriterionList(criteria));
